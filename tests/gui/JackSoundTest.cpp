// The desktop program with a JACK server running: it plays there, and when
// the server ends during playback it asks what to do and goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/DummyJackServer.h"
#include "QtTestApplication.h"
#include "Quorvel.h"
#include "RunApplication.h"
#include "document/WaveSample.h"
#include "framework/window/AlertBox.h"
#include "playback/SoundSystem.h"
#include "playback/WavePlayer.h"
#include "ui/app/ApplicationServices.h"

namespace quorvel::test {
namespace {

TEST(JackSound, PlaysThroughTheServerAndTakesAnotherCardWhenItEnds)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    std::vector<std::string> asked;
    CAlertBox::SetResponder([&](const AlertRecord& alert) {
        asked.push_back(alert.buttons[1]);
        return AlertResultForSlot(1); // "Try other" in alert 19
    });
    WAVE_SAMPLE sound("Tone", 44100, 44100);
    for (uint32_t i = 0; i < 44100; ++i)
        sound.Store().WriteSample(i, int16_t(i % 200 * 100 - 10000));

    gui::CQuorvel application(TestApplication(), "", false);
    std::string before;
    std::string after;
    bool playingAfter = true;
    const int status = RunWith(
        application,
        [&] {
            CSoundSystem& system = application.Services().Sound();
            ASSERT_NE(system.Channel(), nullptr);
            before = system.Channel()->Card()->Type();
            application.Services().Player().PlayLoop(sound, 0, nullptr);
            server.Kill();
            Later(application, 2000, [&] {
                if (const CSoundChannel* channel = system.Channel())
                    after = channel->Card()->Type();
                playingAfter = application.Services().Player().IsPlaying(&sound);
                application.Quit();
            });
        },
        8000);
    CAlertBox::SetResponder({});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(before, "JACK");
    EXPECT_EQ(asked, std::vector<std::string>{"Try other"});
    EXPECT_FALSE(after.empty());
    EXPECT_NE(after, "JACK");
    EXPECT_FALSE(playingAfter);
}

} // namespace
} // namespace quorvel::test
