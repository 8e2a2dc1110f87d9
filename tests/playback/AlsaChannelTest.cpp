#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "playback/AlsaSoundCard.h"

using namespace quorvel;
using namespace std::chrono_literals;

namespace {

class CountingRenderer : public CABCSoundRenderer {
public:
    void Render(int16_t* out, int32_t frames) override
    {
        for (int32_t i = 0; i < frames * 2; ++i)
            out[i] = 1000;
        calls.fetch_add(1);
    }
    std::atomic<int> calls{0};
};

} // namespace

TEST(AlsaLatency, EachSettingHoldsItsMillisecondsAtBothRates)
{
    for (int32_t rate : {44100, 48000}) {
        int32_t previous = 0;
        for (uint16_t i = 0; i < CAlsaSoundChannel::kLatencyCount; ++i) {
            const int32_t ms = CAlsaSoundChannel::TableMs(rate, i);
            EXPECT_EQ(CAlsaSoundChannel::TableFrames(rate, i), int64_t{ms} * rate / 1000) << rate << " " << i;
            EXPECT_GT(ms, previous);
            previous = ms;
        }
        EXPECT_EQ(CAlsaSoundChannel::TableMs(rate, 0), 10);
        // The largest setting must fit the ring the device is asked for.
        EXPECT_LT(CAlsaSoundChannel::TableFrames(rate, 17), CAlsaSoundChannel::kBufferFrames);
    }
    EXPECT_EQ(CAlsaSoundChannel::TableMs(44100, 17), 350);
    EXPECT_EQ(CAlsaSoundChannel::TableMs(48000, 17), 300);
    EXPECT_EQ(CAlsaSoundChannel::TableMs(48000, 11), 110);
}

// A new user auditions slices: the first setting of at least 40 ms, at
// both output rates (stored preferences select their own setting later).
TEST(AlsaLatency, DefaultIsTheSmallestSettingOfAtLeast40Ms)
{
    const uint16_t chosen = CAlsaSoundChannel::kDefaultLatency;
    for (int32_t rate : {44100, 48000}) {
        EXPECT_EQ(CAlsaSoundChannel::TableMs(rate, chosen), 40) << rate;
        for (uint16_t i = 0; i < chosen; ++i)
            EXPECT_LT(CAlsaSoundChannel::TableMs(rate, i), 40) << rate << " " << i;
    }
}

TEST(AlsaChannel, RefusesOddRatesAndMissingDevices)
{
    // A card object whose usability test simply fails.
    CRegisteredAlsaSoundCard card("quorvel_no_such_pcm", "missing");
    EXPECT_FALSE(card.Usable());
    EXPECT_EQ(card.Type(), "ALSA");
    try {
        card.CreateChannel(22050, nullptr, nullptr, 2);
        ADD_FAILURE() << "22050 Hz accepted";
    } catch (const ZSOUND_EXCEPTION&) {
        ADD_FAILURE() << "an unsupported rate is not a device failure";
    } catch (const XBase&) {
    }
    EXPECT_THROW(card.CreateChannel(44100, nullptr, nullptr, 2), ZDS_DIRECT_SOUND_CREATE_FAILED_EXCEPTION);
}

TEST(AlsaChannel, EnumerationListsOnlyPlaybackDevicesOfItsFamily)
{
    CSoundCardRegistry registry;
    try {
        RegisterAlsaCards(registry);
    } catch (const ZDS_FAILED_ENUMERATING_CARDS_EXCEPTION&) {
        GTEST_SKIP() << "ALSA lists no PCM devices on this machine";
    }
    for (uint16_t i = 0; i < registry.Count(); ++i) {
        EXPECT_EQ(registry.CardAt(i)->Type(), "ALSA");
        EXPECT_NE(registry.CardAt(i)->Name(), "null");
    }
}

// The ALSA "null" PCM consumes frames without hardware; where the library
// provides it, it drives the real channel code.
TEST(AlsaChannel, StreamsThroughTheNullDeviceAndRestarts)
{
    if (!CRegisteredAlsaSoundCard::CanPlayStereo16("null"))
        GTEST_SKIP() << "the ALSA \"null\" PCM does not open for 44100 Hz stereo 16-bit here";
    CRegisteredAlsaSoundCard card("null", "discard");
    CountingRenderer renderer;
    auto channel = card.CreateChannel(44100, nullptr, &renderer, 2);
    auto* alsa = static_cast<CAlsaSoundChannel*>(channel.get());
    EXPECT_EQ(channel->CurrentLatencyMs(), 40) << "a new channel starts at the default setting";
    channel->SelectLatency(2);
    EXPECT_EQ(channel->CurrentLatencyMs(), 20);

    channel->Start();
    EXPECT_TRUE(channel->IsRunning());
    EXPECT_GE(alsa->FramesRendered(), alsa->LatencyFrames(2)); // the first fill
    std::this_thread::sleep_for(100ms);
    channel->Stop();
    EXPECT_FALSE(channel->IsRunning());
    const int callsAfterStop = renderer.calls.load();
    EXPECT_GT(callsAfterStop, 1); // the service thread topped up
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(renderer.calls.load(), callsAfterStop);

    channel->Start();
    EXPECT_GT(renderer.calls.load(), callsAfterStop);
}

TEST(AlsaChannel, PlaysOnTheDefaultDeviceWhenThereIsOne)
{
    if (!CRegisteredAlsaSoundCard::CanPlayStereo16("default"))
        GTEST_SKIP() << "no usable ALSA sound device (\"default\" does not open for 44100 Hz stereo 16-bit)";
    CRegisteredAlsaSoundCard card("default", "default");
    CountingRenderer renderer;
    auto channel = card.CreateChannel(44100, nullptr, &renderer, 2);
    channel->SelectLatency(10);
    channel->Start();
    std::this_thread::sleep_for(300ms);
    channel->Stop();
    // 300 ms against a 100 ms queue: several top-ups, none starved.
    EXPECT_GT(renderer.calls.load(), 3);
    EXPECT_EQ(channel->UnderrunCount(), 0u);
}
