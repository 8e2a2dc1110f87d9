#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "../common/TempFolder.h"
#include "playback/NullSoundCard.h"

using namespace quorvel;
using namespace std::chrono_literals;

namespace {

// Writes a distinct, predictable value into every sample and keeps a copy.
class RampRenderer : public CABCSoundRenderer {
public:
    void Render(int16_t* out, int32_t frames) override
    {
        for (int32_t i = 0; i < frames * 2; ++i) {
            out[i] = static_cast<int16_t>(next_ * 7 - 20000);
            next_ = (next_ + 1) % 5000;
            produced.push_back(out[i]);
        }
    }
    std::vector<int16_t> produced;

private:
    int32_t next_ = 0;
};

class SlowRenderer : public CABCSoundRenderer {
public:
    void Render(int16_t*, int32_t) override { std::this_thread::sleep_for(60ms); }
};

std::unique_ptr<NULL_CHANNEL> ManualChannel(const REGISTERED_NULL_SOUND_CARD& card, CABCSoundRenderer* renderer)
{
    auto channel = card.CreateChannel(44100, nullptr, renderer, 2);
    return std::unique_ptr<NULL_CHANNEL>(static_cast<NULL_CHANNEL*>(channel.release()));
}

} // namespace

TEST(NullChannel, LatencySettingsQueueTwoToSixteenBuffers)
{
    REGISTERED_NULL_SOUND_CARD card(NullCardOptions{"", NullClock::Manual});
    auto channel = ManualChannel(card, nullptr);
    ASSERT_EQ(channel->LatencyCount(), 15);
    EXPECT_EQ(channel->SelectedLatency(), 14);
    const int32_t ms[15] = {46, 69, 92, 116, 139, 162, 185, 208, 232, 255, 278, 301, 325, 348, 371};
    for (uint16_t i = 0; i < 15; ++i)
        EXPECT_EQ(channel->LatencyMs(i), ms[i]) << i;

    channel->SelectLatency(99); // beyond the list: the last setting
    EXPECT_EQ(channel->SelectedLatency(), 14);

    for (uint16_t index : {uint16_t{0}, uint16_t{14}}) {
        REGISTERED_NULL_SOUND_CARD fresh(NullCardOptions{"", NullClock::Manual});
        auto c = ManualChannel(fresh, nullptr);
        c->SelectLatency(index);
        c->Start();
        EXPECT_EQ(c->FramesRendered(), (index + 2) * 1024) << index;
        // Half a buffer played: nothing finished, nothing to refill.
        c->AdvanceClock(512);
        EXPECT_EQ(c->FramesRendered(), (index + 2) * 1024);
        c->AdvanceClock(512);
        EXPECT_EQ(c->FramesRendered(), (index + 3) * 1024);
        EXPECT_EQ(c->UnderrunCount(), 0u);
    }
}

TEST(NullChannel, CountsOneUnderrunPerServiceThatFindsTheQueueEmpty)
{
    REGISTERED_NULL_SOUND_CARD card(NullCardOptions{"", NullClock::Manual});
    auto channel = ManualChannel(card, nullptr);
    channel->SelectLatency(0);
    channel->Start();
    channel->AdvanceClock(2048); // exactly drained
    EXPECT_EQ(channel->UnderrunCount(), 1u);
    EXPECT_EQ(channel->FramesRendered(), 4 * 1024);
    channel->AdvanceClock(100000); // long starvation still counts once
    EXPECT_EQ(channel->UnderrunCount(), 2u);
    // Refilled buffers start when written, so keeping pace is clean again.
    channel->AdvanceClock(1024);
    EXPECT_EQ(channel->UnderrunCount(), 2u);

    channel->Stop();
    channel->Start();
    EXPECT_EQ(channel->UnderrunCount(), 0u);
}

TEST(NullChannel, CaptureHoldsExactlyWhatWasRenderedAcrossRestarts)
{
    test::TempFolder folder;
    const std::string path = folder / "capture.wav";
    RampRenderer renderer;
    {
        REGISTERED_NULL_SOUND_CARD card(NullCardOptions{path, NullClock::Manual});
        auto channel = ManualChannel(card, &renderer);
        channel->SelectLatency(1);
        channel->Start();
        channel->AdvanceClock(5000);
        channel->Stop();
        channel->Start();
        channel->AdvanceClock(3000);
    } // destroying the running channel stops it and completes the file

    ASSERT_EQ(renderer.produced.size() % 2048, 0u);
    ASSERT_GT(renderer.produced.size(), 6u * 2048);
    const std::vector<uint8_t> bytes = test::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 44 + renderer.produced.size() * 2);
    auto le32 = [&](size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le32(4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(24), 44100u);
    EXPECT_EQ(bytes[22], 2);
    EXPECT_EQ(le32(40), renderer.produced.size() * 2);
    for (size_t i = 0; i < renderer.produced.size(); ++i) {
        const auto sample = static_cast<int16_t>(bytes[44 + 2 * i] | bytes[45 + 2 * i] << 8);
        ASSERT_EQ(sample, renderer.produced[i]) << "sample " << i;
    }
}

TEST(NullChannel, CaptureIntoAnUnwritablePlaceFailsTheOpen)
{
    REGISTERED_NULL_SOUND_CARD card(NullCardOptions{"/nonexistent-folder/capture.wav"});
    EXPECT_THROW(card.CreateChannel(44100, nullptr, nullptr, 2), ZMME_SOUND_EXCEPTION);
}

TEST(NullChannel, TimerKeepsPaceAndCountsUnderrunsOfASlowRenderer)
{
    // Ten times real time: 300 ms of wall clock consume about 3 s of output.
    REGISTERED_NULL_SOUND_CARD fast(NullCardOptions{"", NullClock::RealTime, 10.0});
    auto channel = fast.CreateChannel(44100, nullptr, nullptr, 2);
    auto* null = static_cast<NULL_CHANNEL*>(channel.get());
    channel->SelectLatency(14);
    const auto began = std::chrono::steady_clock::now();
    channel->Start();
    EXPECT_TRUE(channel->IsRunning());
    std::this_thread::sleep_for(300ms);
    channel->Stop();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - began;
    EXPECT_FALSE(channel->IsRunning());
    const int64_t rendered = null->FramesRendered();
    EXPECT_GT(rendered, 44100); // well past the initial 16 buffers
    // Never ahead of the clock by more than the queue and the buffer being written.
    EXPECT_LE(rendered, static_cast<int64_t>(elapsed.count() * 441000) + 17 * 1024);

    // Each 1024-frame buffer takes 60 ms to render but plays for 23 ms.
    SlowRenderer slow;
    REGISTERED_NULL_SOUND_CARD card;
    auto starved = card.CreateChannel(44100, nullptr, &slow, 2);
    starved->SelectLatency(0);
    starved->Start();
    std::this_thread::sleep_for(400ms);
    starved->Stop();
    EXPECT_GE(starved->UnderrunCount(), 1u);
}
