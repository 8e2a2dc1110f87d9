#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "document/WaveSample.h"

namespace quorvel {
namespace {

std::unique_ptr<WAVE_SAMPLE> SoundOf(const std::vector<int16_t>& values)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("test", 44100, static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), values[i]);
    return sound;
}

TEST(WaveSample, SetLoopNormalisesOrResets)
{
    WAVE_SAMPLE sound("s", 44100, 100);
    struct Case {
        int32_t start, end;
        int32_t wantStart, wantEnd;
    };
    const Case cases[] = {
        {10, 10, 0, 100},   // empty loop resets
        {-5, 50, 0, 100},   // negative start resets
        {20, 500, 20, 100}, // end held at the length
        {30, 20, 0, 100},   // reversed resets
        {150, 200, 0, 100}, // wholly past the end resets rather than collapsing
        {99, 100, 99, 100},
    };
    for (const Case& c : cases) {
        sound.SetLoop(5, 6, false);
        sound.SetLoop(c.start, c.end, false);
        EXPECT_EQ(sound.LoopStart(), c.wantStart) << c.start << ".." << c.end;
        EXPECT_EQ(sound.LoopEnd(), c.wantEnd) << c.start << ".." << c.end;
        if (c.wantEnd - c.wantStart == 100) {
            EXPECT_TRUE(sound.LoopOn()) << "a reset turns the loop on";
        }
    }
    sound.SetLoop(20, 40, true);
    sound.SetLoopStart(40);
    EXPECT_EQ(sound.LoopStart(), 0) << "moving the start onto the end resets";
    sound.SetLoop(20, 40, true);
    sound.SetLoopEnd(90);
    EXPECT_EQ(sound.LoopStart(), 20);
    EXPECT_EQ(sound.LoopEnd(), 90);
}

TEST(WaveSample, LoopInvariantSurvivesRandomEdits)
{
    std::mt19937 rng(20240611);
    for (int32_t length : {0, 1, 2, 100, 44100}) {
        WAVE_SAMPLE sound("p", 44100, length);
        std::uniform_int_distribution<int32_t> any(-2 * length - 10, 2 * length + 10);
        for (int step = 0; step < 2000; ++step) {
            switch (step % 3) {
            case 0:
                sound.SetLoop(any(rng), any(rng), step % 2 == 0);
                break;
            case 1:
                sound.SetLoopStart(any(rng));
                break;
            default:
                sound.SetLoopEnd(any(rng));
                break;
            }
            ASSERT_LE(0, sound.LoopStart());
            ASSERT_LE(sound.LoopStart(), sound.LoopEnd());
            ASSERT_LE(sound.LoopEnd(), length);
            if (length > 0) {
                ASSERT_GE(sound.LoopEnd() - sound.LoopStart(), 1) << "length " << length << " step " << step;
            }
        }
    }
}

TEST(WaveSample, FindZeroCrossingSearchesBothWaysAndPrefersTheEarlier)
{
    auto sound = SoundOf({5, 5, -3, 7, 7, 7, 7, 9, 0, 4});
    EXPECT_EQ(sound->FindZeroCrossing(8, 300), 8) << "a zero value is its own crossing";
    EXPECT_EQ(sound->FindZeroCrossing(5, 300), 2) << "backward finds -3 at distance 3 ...";
    EXPECT_EQ(sound->FindZeroCrossing(6, 3), 8) << "... forward wins when it gets there first";
    EXPECT_EQ(sound->FindZeroCrossing(6, 2), 6) << "range 2 stops the forward cursor before frame 8";
    EXPECT_EQ(sound->FindZeroCrossing(4, 3), 2);
    EXPECT_EQ(sound->FindZeroCrossing(40, 300), 9) << "clamped to the last frame, whose forward cursor is at its bound";

    auto positive = SoundOf(std::vector<int16_t>(50, 1200));
    EXPECT_EQ(positive->FindZeroCrossing(20, 300), 20);
    EXPECT_EQ(positive->FindZeroCrossing(-7, 300), 0);

    // Equal distance both ways: the backward cursor wins.
    auto tie = SoundOf({-1, 5, 5, 5, -1});
    EXPECT_EQ(tie->FindZeroCrossing(2, 300), 0);
}

} // namespace
} // namespace quorvel
