#include <gtest/gtest.h>

#include <vector>

#include "ui/views/PeakSummary.h"

namespace quorvel {
namespace {

std::unique_ptr<WAVE_SAMPLE> Sound(const std::vector<int16_t>& values)
{
    auto sound = std::make_unique<WAVE_SAMPLE>("t", 44100, static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        sound->Store().WriteSample(static_cast<uint32_t>(i), values[i]);
    return sound;
}

TEST(PeakSummary, OneEntryPer32FramesOver96Frames)
{
    std::vector<int16_t> values(200, 0);
    values[10] = 1000;   // 1000 / 256 = 3
    values[70] = -1000;  // -1000 / 256 = -3, toward zero
    values[95] = 32767;  // 127
    values[96] = -32768; // -128
    values[199] = -255;  // truncates to 0
    const CPeakSummary summary(*Sound(values));
    ASSERT_EQ(summary.Count(), 6); // 200 / 32
    EXPECT_EQ(summary.At(0), (SPeak{-3, 127}));   // frames 0..95
    EXPECT_EQ(summary.At(1), (SPeak{-128, 127})); // 32..127
    EXPECT_EQ(summary.At(3), (SPeak{-128, 0}));   // 96..191
    EXPECT_EQ(summary.At(4), (SPeak{0, 0}));      // 128..199, fewer at the end
    EXPECT_EQ(summary.At(5), (SPeak{0, 0}));      // 160..199
    EXPECT_EQ(summary.Merge(0, 5), (SPeak{-128, 127}));
}

TEST(PeakSummary, ShortSoundHasNoEntries)
{
    const CPeakSummary summary(*Sound(std::vector<int16_t>(31, 5000)));
    EXPECT_EQ(summary.Count(), 0);
}

TEST(PeakSummary, SpansStorePagesAndIsBuiltOnce)
{
    std::vector<int16_t> values(20000, 0);
    values[8191] = 2560; // last value of the first page
    values[8192] = -2560;
    auto sound = Sound(values);
    const CPeakSummary& summary = CPeakSummary::Of(*sound);
    EXPECT_EQ(summary.At(255), (SPeak{-10, 10}));
    EXPECT_EQ(&CPeakSummary::Of(*sound), &summary);
}

} // namespace
} // namespace quorvel
