#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "WavePlayerFixtures.h"

namespace quorvel::test {
namespace {

// The frame written at output frame t: 100..699, then the loop 200..699
// over and over.
int32_t LoopFrameAt(int32_t t)
{
    return t < 600 ? 100 + t : 200 + (t - 600) % 500;
}

TEST(WavePlayerTest, LoopIsTheSoundRepeatedExactlyAndTheHeardPositionLagsByTheLatency)
{
    auto sound = CountingSound(1000);
    sound->SetLoop(200, 700, true);
    CDirectPlayer player;
    player.SetLatencyMilliseconds(10); // 441 frames at 44100 Hz
    player.PlayLoop(*sound, 100, nullptr);
    ASSERT_TRUE(player.IsPlaying(sound.get()));

    std::vector<int16_t> out;
    std::vector<int16_t> stereo(2 * 1024);
    int32_t rendered = 0;
    std::mt19937 random(7);
    while (rendered < 5000) {
        // Uneven blocks, as a channel topping up its buffer asks for them.
        const int32_t block = int32_t(random() % 700) + 1;
        player.Render(stereo.data(), block);
        for (int32_t i = 0; i < block; ++i)
            out.push_back(stereo[2 * size_t(i)]);
        rendered += block;
        if (rendered >= 441)
            EXPECT_EQ(player.HeardPosition(), LoopFrameAt(rendered - 441)) << "after " << rendered << " frames";
        else
            EXPECT_EQ(player.HeardPosition(), 100);
    }
    for (int32_t t = 0; t < rendered; ++t)
        ASSERT_EQ(out[size_t(t)], sound->Value(LoopFrameAt(t))) << "output frame " << t;
}

TEST(WavePlayerTest, HeardPositionRightAfterAStartIsTheStartFrame)
{
    auto sound = CountingSound(50000);
    CDirectPlayer player;
    player.SetLatencyMilliseconds(250);
    player.PlayLoop(*sound, 12345, nullptr);
    EXPECT_EQ(player.HeardPosition(), 12345);
    RenderMono(player, 1000);
    EXPECT_EQ(player.HeardPosition(), 12345) << "still inside the latency";
}

TEST(WavePlayerTest, RangeEndsInSilenceAndComesToRestOneLatencyLater)
{
    auto sound = CountingSound(1000);
    CDirectPlayer player;
    CCountingNotifier notifier;
    player.SetLatencyMilliseconds(10);
    player.PlayRange(*sound, 100, 400, &notifier);
    EXPECT_EQ(notifier.started, 1);

    const auto played = RenderMono(player, 300, 64);
    for (int32_t i = 0; i < 300; ++i)
        ASSERT_EQ(played[size_t(i)], sound->Value(100 + i));

    // One frame per render call; the idle handler runs between calls.
    int32_t silentFrames = 0;
    int32_t lastHeard = 0;
    while (player.IsPlaying(sound.get()) && silentFrames < 10000) {
        lastHeard = player.HeardPosition();
        EXPECT_EQ(RenderMono(player, 1)[0], 0);
        ++silentFrames;
        player.IdleStep();
    }
    EXPECT_EQ(lastHeard, 400);
    // The heard position needs the latency to reach the end; the finished
    // state is published at the start of the following call.
    EXPECT_EQ(silentFrames, 441 + 1);
    EXPECT_EQ(notifier.stopped, 1);
    EXPECT_EQ(RenderMono(player, 100), std::vector<int16_t>(100, 0));
}

TEST(WavePlayerTest, HalfRateSoundIsInterpolatedBetweenFrames)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("Half", 22050, 4);
    const int16_t values[] = {0, -3, 32767, -32768};
    for (uint32_t i = 0; i < 4; ++i)
        sound->Store().WriteSample(i, values[i]);
    EXPECT_EQ(CWavePlayer::RateStep(22050), 16384u);
    EXPECT_EQ(CWavePlayer::RateStep(44100), 32768u);

    CDirectPlayer player;
    player.PlayRange(*sound, 0, 4, nullptr);
    // Halfway values truncate toward zero; past the range's last frame the
    // next sample reads as 0.
    const std::vector<int16_t> range{0, -1, -3, 16382, 32767, 0, -32768, -16384, 0, 0};
    EXPECT_EQ(RenderMono(player, 10), range);

    sound->SetLoop(1, 3, true);
    player.PlayLoop(*sound, 0, nullptr);
    // Looping, the frame after the loop's last one is the loop start's.
    const std::vector<int16_t> loop{0, -1, -3, 16382, 32767, 16382, -3, 16382, 32767, 16382};
    EXPECT_EQ(RenderMono(player, 10), loop);
}

TEST(WavePlayerTest, LocatorMovesTakeEffectAtTheNextRenderCall)
{
    auto sound = CountingSound(2000);
    sound->SetLoop(0, 1000, true);
    CDirectPlayer player;
    player.PlayLoop(*sound, 0, nullptr);
    RenderMono(player, 100);

    // Ahead of the play position: this very pass ends at the new end.
    sound->SetLoop(50, 300, true);
    player.IdleStep();
    auto out = RenderMono(player, 400, 400);
    for (int32_t t = 0; t < 400; ++t)
        ASSERT_EQ(out[size_t(t)], sound->Value(t < 200 ? 100 + t : 50 + (t - 200) % 250)) << t;

    // Behind it: the pass ends at the old end, the next one uses the new loop.
    player.PlayLoop(*sound, 0, nullptr);
    sound->SetLoop(0, 1000, true);
    player.IdleStep();
    RenderMono(player, 500);
    sound->SetLoop(100, 200, true);
    player.IdleStep();
    out = RenderMono(player, 700);
    for (int32_t t = 0; t < 700; ++t)
        ASSERT_EQ(out[size_t(t)], sound->Value(t < 500 ? 500 + t : 100 + (t - 500) % 100)) << t;

    // A range ignores the locators.
    player.PlayRange(*sound, 0, 300, nullptr);
    sound->SetLoop(10, 20, true);
    player.IdleStep();
    out = RenderMono(player, 310);
    EXPECT_EQ(out[299], sound->Value(299));
    EXPECT_EQ(out[300], 0);
}

TEST(WavePlayerTest, StartStopAndReplaceNotifyOnce)
{
    auto first = CountingSound(5000);
    auto second = CountingSound(5000);
    CDirectPlayer player;
    CCountingNotifier a;
    CCountingNotifier b;

    player.Stop(); // nothing plays: no effect
    player.PlayRange(*first, 0, 0, &a); // empty range: ignored
    EXPECT_FALSE(player.IsPlaying(first.get()));
    EXPECT_EQ(a.started + a.stopped, 0);

    player.PlayLoop(*first, 0, &a);
    player.PlayAll(*second, &b);
    EXPECT_EQ(a.stopped, 1);
    EXPECT_TRUE(player.IsPlaying(second.get()));
    EXPECT_FALSE(player.IsPlaying(first.get()));
    player.Stop();
    player.Stop();
    EXPECT_EQ(b.started, 1);
    EXPECT_EQ(b.stopped, 1);
    EXPECT_EQ(a.started, 1);
    EXPECT_EQ(RenderMono(player, 64), std::vector<int16_t>(64, 0));
}

TEST(WavePlayerTest, LoopStartedPastTheRightLocatorStaysInsideTheSound)
{
    auto sound = CountingSound(1000);
    sound->SetLoop(100, 200, true);
    CDirectPlayer player;
    player.PlayLoop(*sound, 5000, nullptr);
    const auto out = RenderMono(player, 150);
    for (int32_t t = 0; t < 150; ++t)
        ASSERT_EQ(out[size_t(t)], sound->Value(100 + t % 100));
}

// Commands from the interface thread while the channel thread renders
// without pause; run under the sanitizers to catch races and bad reads.
TEST(WavePlayerTest, CommandsWhileAnotherThreadRenders)
{
    auto sound = CountingSound(20000, 32000);
    CWavePlayer player;
    player.SetLatencyMilliseconds(20);
    std::atomic<bool> running{true};
    std::atomic<bool> badValue{false};
    std::thread channel([&] {
        std::vector<int16_t> block(2 * 128);
        while (running.load()) {
            player.Render(block.data(), 128);
            // Interpolated values stay between neighbouring frames' values.
            for (int16_t v : block)
                if (v < 0 || v > 20000)
                    badValue = true;
            std::this_thread::yield();
        }
    });

    CCountingNotifier notifier;
    std::mt19937 random(11);
    for (int i = 0; i < 150; ++i) {
        const int32_t a = int32_t(random() % 20000);
        const int32_t b = int32_t(random() % 20000);
        switch (random() % 5) {
        case 0:
            player.PlayLoop(*sound, a, &notifier);
            break;
        case 1:
            player.PlayRange(*sound, std::min(a, b), std::max(a, b), &notifier);
            break;
        case 2:
            player.Stop();
            break;
        default:
            sound->SetLoop(std::min(a, b), std::max(a, b) + 1, true);
            break;
        }
        player.IdleStep();
        const int32_t heard = player.HeardPosition();
        EXPECT_GE(heard, 0);
        EXPECT_LE(heard, sound->Length());
    }
    player.Stop();
    running = false;
    channel.join();
    EXPECT_FALSE(badValue.load());
    EXPECT_FALSE(player.IsPlaying(sound.get()));
    EXPECT_EQ(notifier.started, notifier.stopped);
}

} // namespace
} // namespace quorvel::test
