#include <gtest/gtest.h>

#include "../common/SlicedSound.h"
#include "analysis/SliceSet.h"
#include "analysis/StretchFill.h"

namespace quorvel {
namespace {

using test::MakeSlicedSound;
using test::ValuesOf;
using Spans = std::vector<std::pair<int32_t, int32_t>>;

Spans SpansOf(const CSliceSet& set)
{
    Spans spans;
    for (int i = 0; i < set.RangeCount(); ++i)
        spans.emplace_back(set.Range(i).start, set.Range(i).end);
    return spans;
}

TEST(SliceSetRanges, CutAtActiveSlicesBetweenTheLocators)
{
    auto s = MakeSlicedSound(1000, {10, 100, 300, 600, 900});
    s->slices.At(2).state = SliceState::Hidden;
    auto set = [&](int32_t start, int32_t end) { return CSliceSet(*s->sound, s->slices, start, end, 1000, 0, 0, 1); };
    EXPECT_EQ(SpansOf(set(50, 800)), (Spans{{50, 100}, {100, 600}, {600, 800}}));
    EXPECT_EQ(SpansOf(set(100, 300)), (Spans{{100, 300}})); // no lead-in before a slice on the locator
    EXPECT_EQ(SpansOf(set(620, 880)), (Spans{{620, 880}})); // no slice: the whole loop
    // Locators past the sound are held to it, so nothing reads beyond it.
    EXPECT_EQ(SpansOf(set(850, 5000)), (Spans{{850, 900}, {900, 1000}}));
}

TEST(SliceSetOutputs, WithoutStretchOrRateChangeEachOutputIsItsRange)
{
    auto s = MakeSlicedSound(3000, {0, 700, 2100});
    const auto before = ValuesOf(*s->sound);
    CSliceSet set(*s->sound, s->slices, 0, 3000, 1000, false, false, true);
    ASSERT_EQ(set.OutputCount(), 3);
    for (int k = 0; k < 3; ++k) {
        const SliceOutputInfo info = set.GetOutputInfo(k);
        EXPECT_EQ(ValuesOf(*set.GetOutput(k)), ValuesOf(*s->sound, info.start, info.end)) << k;
    }
    EXPECT_THROW(set.GetOutput(3), XNoSuchOutput);
    EXPECT_EQ(ValuesOf(*s->sound), before);

    set.SetExtraFrames(5); // trailing silence on every separate output
    EXPECT_EQ(ValuesOf(*set.GetOutput(0), 700), std::vector<int16_t>(5, 0));
}

TEST(SliceSetOutputs, LengthsRoundUpAtTheOutputRate)
{
    auto s = MakeSlicedSound(100, {0, 10});
    CSliceSet set(*s->sound, s->slices, 0, 100, 1500, false, false, false);
    set.SetOutputRate(48000);
    set.SetExtraFrames(7);
    EXPECT_EQ(set.OutputLength(0, 0), 17);  // 15 x 48000 / 44100 = 16.33
    EXPECT_EQ(set.OutputLength(1, 0), 147); // 135 x 48000 / 44100 = 146.9
    EXPECT_EQ(set.GetOutput(0)->Length(), 17 + 147 + 7); // extra once, at the end
}

TEST(SliceSetOutputs, StretchKeepsTheBeginningAndFadesTheAddedLength)
{
    auto s = MakeSlicedSound(10000, {0});
    const auto out = ValuesOf(*CSliceSet(*s->sound, s->slices, 0, 10000, 2000, 0, 0, 1).GetOutput(0));
    ASSERT_EQ(out.size(), 20000u);
    const StretchTurningPoints points = FindTurningPoints(s->sound->Store(), 0, 10000);
    ASSERT_GT(points.tail, points.middle);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + points.tail), ValuesOf(*s->sound, 0, points.tail));
    EXPECT_NEAR(out[size_t(points.tail)], s->sound->Value(points.tail - 1), 2); // plays back from the tail point
    EXPECT_LE(std::abs(out.back()), 20);

    // One- and two-frame ranges have nothing to play back and forth between:
    // they must end, with silence after what they keep.
    auto tiny = MakeSlicedSound(3, {0, 1});
    EXPECT_EQ(ValuesOf(*CSliceSet(*tiny->sound, tiny->slices, 0, 3, 2000, 0, 0, 1).GetOutput(1)),
              (std::vector<int16_t>{tiny->sound->Value(1), 0, 0, 0}));
}

TEST(SliceSetOutputs, SilenceSelectedDropsOrMutesTheSelectedSlices)
{
    auto s = MakeSlicedSound(4000, {0, 1000, 2000, 3000}, {false, true, false, true});
    const CSliceSet separate(*s->sound, s->slices, 0, 4000, 1000, false, true, true);
    ASSERT_EQ(separate.OutputCount(), 2);
    EXPECT_EQ(separate.GetOutputInfo(1).start, 2000);
    EXPECT_EQ(ValuesOf(*separate.GetOutput(1)), ValuesOf(*s->sound, 2000, 3000));

    const CSliceSet one(*s->sound, s->slices, 0, 4000, 1000, false, true, false);
    auto expected = ValuesOf(*s->sound, 0, 4000);
    std::fill(expected.begin() + 1000, expected.begin() + 2000, 0);
    std::fill(expected.begin() + 3000, expected.end(), 0);
    EXPECT_EQ(ValuesOf(*one.GetOutput(0)), expected);
    EXPECT_EQ(one.GetOutputInfo(5).length, 4000);
}

} // namespace
} // namespace quorvel
