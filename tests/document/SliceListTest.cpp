#include <gtest/gtest.h>

#include <vector>

#include "document/SliceList.h"

namespace quorvel {
namespace {

std::vector<int32_t> Positions(const CSliceList& list, SliceFilter filter)
{
    std::vector<int32_t> positions;
    for (const CSlice* s = list.First(filter); s; s = list.Next(s, filter))
        positions.push_back(s->position);
    return positions;
}

// Five slices over a 1000-frame sound; threshold 4000 puts 100, 200 and 400
// above it. Active: 100, 300 (locked), 400. Shown adds the hidden 200.
class MixedSlices : public ::testing::Test {
protected:
    MixedSlices()
    {
        Add(400, 9000, SliceState::Normal);
        Add(100, 5000, SliceState::Normal);
        Add(300, 3000, SliceState::Locked);
        Add(200, 8000, SliceState::Hidden);
        Add(500, 1000, SliceState::Hidden);
        list.SetEndPosition(1000);
        list.ApplyThreshold(4000);
    }
    void Add(int32_t position, int16_t strength, SliceState state)
    {
        CSlice* s = list.InsertSlice(position);
        s->strength = strength;
        s->state = state;
    }
    const CSlice* At(int32_t position) const
    {
        for (int i = 0; i < list.Count(); ++i)
            if (list.At(i).position == position)
                return &list.At(i);
        return nullptr;
    }
    CSliceList list;
};

TEST_F(MixedSlices, FiltersSelectWhatCutsAndWhatIsDrawn)
{
    EXPECT_EQ(Positions(list, SliceFilter::All), (std::vector<int32_t>{100, 200, 300, 400, 500}));
    EXPECT_EQ(Positions(list, SliceFilter::Active), (std::vector<int32_t>{100, 300, 400}));
    EXPECT_EQ(Positions(list, SliceFilter::Shown), (std::vector<int32_t>{100, 200, 300, 400}));
    EXPECT_EQ(list.Last(SliceFilter::Active)->position, 400);
    EXPECT_EQ(list.Previous(At(400), SliceFilter::Active)->position, 300);
    EXPECT_EQ(list.Previous(At(100), SliceFilter::All), nullptr);

    // Sensitivity 0: only the locked slice still cuts, and nothing hidden is drawn.
    list.ApplyThreshold(32767);
    EXPECT_EQ(Positions(list, SliceFilter::Active), (std::vector<int32_t>{300}));
    EXPECT_EQ(Positions(list, SliceFilter::Shown), (std::vector<int32_t>{300}));

}

TEST_F(MixedSlices, ActiveSlicesTileTheSoundUpToTheEnd)
{
    // The hidden slice at 200 does not cut: the first slice runs to the locked one.
    EXPECT_EQ(list.SliceLastFrame(At(100), SliceFilter::Active), 299);
    EXPECT_EQ(list.SliceLength(At(100), SliceFilter::Active), 200);
    EXPECT_EQ(list.SliceLastFrame(At(100), SliceFilter::All), 199);
    EXPECT_EQ(list.SliceLastFrame(At(400), SliceFilter::Active), 1000) << "the length, not length - 1";
    EXPECT_EQ(list.SliceLength(At(400), SliceFilter::Active), 600);

    int32_t total = 0;
    for (const CSlice* s = list.First(SliceFilter::Active); s; s = list.Next(s, SliceFilter::Active))
        total += list.SliceLength(s, SliceFilter::Active);
    EXPECT_EQ(total, 1000 - 100) << "no frame between the first cut and the end is left out";
}

TEST_F(MixedSlices, SliceAtNearestAndSnapUseActiveSlices)
{
    EXPECT_EQ(list.SliceAt(99), nullptr);
    EXPECT_EQ(list.SliceAt(250)->position, 100);
    EXPECT_EQ(list.SliceAt(299)->position, 100);
    EXPECT_EQ(list.SliceAt(300)->position, 300);
    EXPECT_EQ(list.SliceAt(1000)->position, 400);
    EXPECT_EQ(list.SliceAt(1001), nullptr);

    EXPECT_EQ(list.NearestSlice(350)->position, 300) << "a tie goes to the earlier slice";
    EXPECT_EQ(list.NearestSlice(351)->position, 400);
    EXPECT_EQ(list.NearestSlice(195)->position, 100) << "hidden 200 is not a candidate";

    EXPECT_EQ(list.SnapToSlice(49, 1000), 0);
    EXPECT_EQ(list.SnapToSlice(50, 1000), 100);
    EXPECT_EQ(list.SnapToSlice(340, 1000), 300);
    EXPECT_EQ(list.SnapToSlice(700, 1000), 400);
    EXPECT_EQ(list.SnapToSlice(701, 1000), 1000);

    CSliceList empty;
    EXPECT_EQ(empty.SliceAt(10), nullptr);
    EXPECT_EQ(empty.SnapToSlice(123, 1000), 123);
}

TEST_F(MixedSlices, ThresholdMarksOnlyFlipsAsChanged)
{
    list.ClearChanged();
    list.ApplyThreshold(5000); // 100 (strength 5000) drops: equal is not above
    std::vector<int32_t> changed;
    for (int i = 0; i < list.Count(); ++i)
        if (list.At(i).changed)
            changed.push_back(list.At(i).position);
    EXPECT_EQ(changed, (std::vector<int32_t>{100}));
    EXPECT_FALSE(At(100)->aboveThreshold);

    list.ApplyThreshold(4999);
    list.ApplyThreshold(5000);
    EXPECT_TRUE(At(100)->changed) << "changed stays set until the views clear it";
    list.ClearChanged();
    list.ApplyThreshold(5000);
    EXPECT_FALSE(At(100)->changed);

    list.Reset();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.At(0).strength, 0);
}

TEST(SliceList, InsertKeepsPositionOrderAndStopsAtCapacity)
{
    CSliceList list;
    list.InsertSlice(50)->selected = true;
    list.InsertSlice(10);
    CSlice* same = list.InsertSlice(50);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf(same), 2) << "an equal position goes after the existing slice";
    EXPECT_TRUE(list.At(1).selected) << "the shifted slice keeps its fields";
    EXPECT_FALSE(same->selected);
    EXPECT_EQ(same->strength, 0);
    EXPECT_EQ(same->state, SliceState::Normal);

    EXPECT_EQ(list.Append(CSlice{40, 1, false, false, false, SliceState::Normal}), nullptr) << "out of order";
    while (list.Count() < CSliceList::kCapacity)
        ASSERT_NE(list.InsertSlice(1000 - list.Count()), nullptr);
    EXPECT_EQ(list.InsertSlice(5), nullptr);
    EXPECT_EQ(list.Append(CSlice{5000, 1, false, false, false, SliceState::Normal}), nullptr);
    EXPECT_EQ(list.Count(), CSliceList::kCapacity);
    for (int i = 1; i < list.Count(); ++i)
        ASSERT_LE(list.At(i - 1).position, list.At(i).position);
}

} // namespace
} // namespace quorvel
