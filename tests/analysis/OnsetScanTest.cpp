#include <gtest/gtest.h>

#include "SoundFromValues.h"
#include "analysis/OnsetScan.h"
#include "analysis/SensitivityThreshold.h"
#include "document/SliceList.h"

namespace quorvel {
namespace {

using testing::SoundOf;
using testing::Step;

CSliceList Analysed(const std::vector<int16_t>& values)
{
    CSliceList list;
    list.Analyse(*SoundOf(values));
    return list;
}

bool ActiveAt(CSliceList list, int32_t sensitivity)
{
    list.ApplyThreshold(SensitivityThreshold(sensitivity));
    return list.First(SliceFilter::Active) != nullptr;
}

TEST(SensitivityThreshold, MapsTheControlOntoStrengths)
{
    EXPECT_EQ(SensitivityThreshold(0), 32767);
    EXPECT_EQ(SensitivityThreshold(10), 32439);
    EXPECT_EQ(SensitivityThreshold(500), 16367);
    EXPECT_EQ(SensitivityThreshold(990), 295);
    EXPECT_EQ(SensitivityThreshold(999), 0);
}

TEST(OnsetScan, StepsFromSilence)
{
    // A loud step is traced back to the last quiet frame; its slope of 16000
    // against the starting floor of 100 saturates the strength.
    CSliceList loud = Analysed(Step(1000, 2000, 8000));
    ASSERT_EQ(loud.Count(), 1);
    EXPECT_EQ(loud.At(0).position, 999);
    EXPECT_EQ(loud.At(0).strength, 32767);
    EXPECT_EQ(loud.EndPosition(), 3000);

    // A quiet step stays where it was found: 600 x 1024 / 100.
    CSliceList quiet = Analysed(Step(1000, 2000, 300));
    ASSERT_EQ(quiet.Count(), 1);
    EXPECT_EQ(quiet.At(0).position, 1000);
    EXPECT_EQ(quiet.At(0).strength, 6144);
    EXPECT_TRUE(ActiveAt(quiet, 820));
    EXPECT_FALSE(ActiveAt(quiet, 810));

    // In the initial silence (floor 100) an onset needs a slope of 404.
    EXPECT_EQ(Analysed(Step(500, 500, 201)).Count(), 0);
    EXPECT_EQ(Analysed(Step(500, 500, 202)).Count(), 1);
}

TEST(OnsetScan, NothingToFind)
{
    EXPECT_EQ(Analysed({}).Count(), 0);
    CSliceList silent = Analysed(std::vector<int16_t>(50000, 0));
    EXPECT_EQ(silent.Count(), 0);
    EXPECT_EQ(silent.EndPosition(), 50000);
}

TEST(OnsetScan, FloorSettlesAt151AfterALoudPassage)
{
    // A burst, a long silence, then a step of slope 606 or 608.
    for (int16_t level : {int16_t(303), int16_t(304)}) {
        std::vector<int16_t> values = Step(1000, 100, 8000);
        values.resize(values.size() + 5000, 0);
        const auto second = static_cast<int32_t>(values.size());
        values.resize(values.size() + 1000, level);
        CSliceList list = Analysed(values);
        if (level == 303) {
            EXPECT_EQ(list.Count(), 1);
        } else {
            ASSERT_EQ(list.Count(), 2);
            EXPECT_EQ(list.At(1).position, second);
            EXPECT_EQ(list.At(1).strength, 608 * 1024 / 151);
        }
    }
}

TEST(OnsetScan, SlopesAreSixteenBitAndWrap)
{
    // 0 -> 32000 is a slope of 64000, which wraps to -1536: magnitude 1536.
    // Halving afterwards keeps every later slope at zero.
    auto halving = [](int16_t start) {
        std::vector<int16_t> values(2000, 0);
        for (int16_t v = start; v != 0; v = static_cast<int16_t>(v / 2))
            values.push_back(v);
        values.resize(values.size() + 1000, 0);
        return values;
    };
    CSliceList wrapped = Analysed(halving(32000));
    ASSERT_EQ(wrapped.Count(), 1);
    EXPECT_EQ(wrapped.At(0).position, 1999);
    EXPECT_EQ(wrapped.At(0).strength, 1536 * 1024 / 100);

    // -16384 from silence is a slope of -32768, whose magnitude stays
    // negative and so never counts; one step less is a full-scale onset.
    EXPECT_EQ(Analysed(halving(-16384)).Count(), 0);
    EXPECT_EQ(Analysed(halving(-16383)).Count(), 1);
}

TEST(OnsetScan, AttackWindowGrowsWhileTheAttackStillRises)
{
    // Onset at 1000 (slope 1000); a much steeper jump 350 frames later is a
    // second onset once the 300-frame window has closed ...
    std::vector<int16_t> plain = Step(1000, 350, 500);
    plain.resize(plain.size() + 1000, 16000);
    CSliceList two = Analysed(plain);
    ASSERT_EQ(two.Count(), 2);
    EXPECT_EQ(two.At(0).position, 1000);
    EXPECT_EQ(two.At(1).position, 1349);

    // ... but a bump 150 frames in, in the window's last 200 frames, extends
    // it to 500 and the jump becomes part of the first attack.
    std::vector<int16_t> bumped = plain;
    std::fill(bumped.begin() + 1150, bumped.begin() + 1350, int16_t(1000));
    CSliceList one = Analysed(bumped);
    ASSERT_EQ(one.Count(), 1);
    EXPECT_EQ(one.At(0).strength, 32767);
}

TEST(OnsetScan, TheFrameThatClosesAWindowAlsoDecaysTheLevel)
{
    // Onset at 1000 (peak 600); its window closes at frame 1300, whose own
    // value already decays level and floor to 597. A jump on the very next
    // frame is measured against that floor.
    std::vector<int16_t> values = Step(1000, 301, 300);
    values.resize(values.size() + 500, 5150); // slope 2 x 5150 - 300 = 10000
    CSliceList list = Analysed(values);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).strength, 6144);
    EXPECT_EQ(list.At(1).position, 1300);
    EXPECT_EQ(list.At(1).strength, 10000 * 1024 / 597);
}

TEST(OnsetScan, RefineWalksBackToTheQuietFrameOrTheSignChange)
{
    std::vector<int16_t> values(700);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<int16_t>(5000 + i);
    auto sound = SoundOf(values);
    EXPECT_EQ(RefineOnset(sound->Store(), 10), 0);
    EXPECT_EQ(RefineOnset(sound->Store(), 650), 150) << "at most 500 frames back";

    values[4] = 500;
    values[300] = -3000;
    sound = SoundOf(values);
    EXPECT_EQ(RefineOnset(sound->Store(), 10), 4);
    EXPECT_EQ(RefineOnset(sound->Store(), 310), 301);

    // The walk crosses page boundaries like any other frame.
    CSliceList list = Analysed(Step(BAT::kPageValues, 3000, 8000));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.At(0).position, int32_t(BAT::kPageValues) - 1);
}

TEST(OnsetScan, StopsAfter997OnsetsAndLeavesRoomForThreePenSlices)
{
    std::vector<int16_t> values;
    for (int pulse = 0; pulse < 1200; ++pulse) {
        values.resize(values.size() + 1950, 0);
        values.resize(values.size() + 50, 8000);
    }
    CSliceList list = Analysed(values);
    ASSERT_EQ(list.Count(), kMaxOnsets);
    EXPECT_EQ(list.At(0).position, 1949);
    EXPECT_EQ(list.At(996).position, 996 * 2000 + 1949);
    for (int i = 0; i < list.Count(); ++i) {
        ASSERT_GE(list.At(i).strength, 1);
        ASSERT_LE(list.At(i).strength, 32767);
    }
    EXPECT_GT(list.At(996).strength, 1) << "the last kept slice is rated when the scan stops";
    EXPECT_EQ(list.EndPosition(), 1200 * 2000);

    for (int i = 0; i < 3; ++i)
        EXPECT_NE(list.InsertSlice(100 + i), nullptr);
    EXPECT_EQ(list.InsertSlice(5), nullptr);
}

} // namespace
} // namespace quorvel
