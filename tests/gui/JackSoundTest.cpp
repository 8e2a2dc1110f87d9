// The desktop program with a JACK server running: it plays there, and when
// the server ends during playback it asks what to do and goes on; it plays
// where the user patched it last time.
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <QSettings>

#include <string>
#include <vector>

#include "../common/DummyJackServer.h"
#include "../common/TempFolder.h"
#include "FramePlacement.h"
#include "JackPlaybackPorts.h"
#include "QtTestApplication.h"
#include "Quorvel.h"
#include "RunApplication.h"
#include "document/WaveSample.h"
#include "framework/window/AlertBox.h"
#include "playback/JackSoundCard.h"
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

TEST(JackSound, PlaysWhereTheUserPatchedItLastTime)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    // A mixer in the user's patchbay.
    jack_status_t status{};
    jack_client_t* mixer = jack_client_open("Mixer", JackNoStartServer, &status);
    ASSERT_NE(mixer, nullptr);
    for (const char* input : {"in_1", "in_2"})
        ASSERT_NE(jack_port_register(mixer, input, JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0), nullptr);
    ASSERT_EQ(jack_activate(mixer), 0);
    const JackRouting kMixer{{{"Mixer:in_1"}, {"Mixer:in_2"}}};

    const TempFolder preferences;
    auto runOnce = [&](const std::function<void(CJackSoundChannel&)>& during) {
        gui::CQuorvel application(TestApplication(), "", false);
        const int status = RunWith(
            application,
            [&] {
                auto* channel = dynamic_cast<CJackSoundChannel*>(application.Services().Sound().Channel());
                if (channel != nullptr)
                    during(*channel);
                else
                    ADD_FAILURE() << "not playing through JACK";
                application.Quit();
            },
            5000, preferences.Path());
        EXPECT_EQ(status, 0);
    };
    JackRouting firstRun;
    runOnce([&](CJackSoundChannel& channel) {
        firstRun = channel.ConnectedPlaybackPorts();
        for (int side = 0; side < 2; ++side) {
            const std::string output = side == 0 ? channel.LeftPortName() : channel.RightPortName();
            EXPECT_EQ(jack_disconnect(mixer, output.c_str(), firstRun[side].front().c_str()), 0);
            EXPECT_EQ(jack_connect(mixer, output.c_str(), kMixer[side].front().c_str()), 0);
        }
    });
    EXPECT_EQ(firstRun, (JackRouting{{{"system:playback_1"}, {"system:playback_2"}}}));
    {
        const QSettings settings(QString::fromStdString(preferences / gui::kSettingsFileName),
                                 QSettings::IniFormat);
        EXPECT_EQ(settings.value(gui::kJackPlaybackPortsKey).toStringList(), (QStringList{"Mixer:in_1", "Mixer:in_2"}));
    }

    JackRouting secondRun;
    runOnce([&](CJackSoundChannel& channel) { secondRun = channel.ConnectedPlaybackPorts(); });
    EXPECT_EQ(secondRun, kMixer);
    jack_client_close(mixer);
}

TEST(JackSound, StoredConnectionsSurviveTheSettingsFileWithCommasAndSeveralPortsASide)
{
    const TempFolder folder;
    const QString path = QString::fromStdString(folder / gui::kSettingsFileName);
    const JackRouting routing{{{"Desk, left:in 1", "system:playback_1"}, {}}};
    QSettings(path, QSettings::IniFormat).setValue(gui::kJackPlaybackPortsKey, gui::JackRoutingToSetting(routing));
    const QSettings settings(path, QSettings::IniFormat);
    EXPECT_EQ(gui::JackRoutingFromSetting(settings.value(gui::kJackPlaybackPortsKey).toStringList()), routing);
    EXPECT_EQ(gui::JackRoutingFromSetting({}), JackRouting{});
}

} // namespace
} // namespace quorvel::test
