// Hit-testing, ruler marks and labels, locator limits and the overview frame.
#include <gtest/gtest.h>

#include "document/SliceList.h"
#include "ui/views/LocatorEdit.h"
#include "ui/views/OverviewFrame.h"
#include "ui/views/RulerMarks.h"
#include "ui/views/SliceHandleHit.h"
#include "ui/views/TimeWindow.h"

namespace quorvel {
namespace {

TimeWindow Window(int32_t total, int32_t start, int32_t end, int16_t width)
{
    TimeWindow window;
    window.totalEnd = total;
    window.visibleStart = start;
    window.visibleEnd = end;
    window.rightPixel = width;
    return window;
}

CSlice& AddSlice(CSliceList& slices, int32_t position, SliceState state, bool shown = true)
{
    CSlice& slice = *slices.InsertSlice(position);
    slice.state = state;
    slice.aboveThreshold = shown;
    return slice;
}

TEST(SliceHandleHit, NearestShownHandleWithinReach)
{
    CSliceList slices;
    AddSlice(slices, 20, SliceState::Normal);
    AddSlice(slices, 500, SliceState::Normal);
    AddSlice(slices, 560, SliceState::Hidden, false); // not Shown: never hit
    AddSlice(slices, 600, SliceState::Locked);
    const TimeWindow window = Window(100000, 0, 1000, 100); // 10 frames per pixel, reach 95
    constexpr int32_t kBottom = 18;

    EXPECT_EQ(HitSliceHandle(slices, window, 55, kBottom - 1, kBottom)->position, 500); // tie: the first
    EXPECT_EQ(HitSliceHandle(slices, window, 56, kBottom - 1, kBottom)->position, 600);
    EXPECT_EQ(HitSliceHandle(slices, window, 0, kBottom - 1, kBottom)->position, 20);
    EXPECT_EQ(HitSliceHandle(slices, window, 70, kBottom - 1, kBottom), nullptr); // 700: beyond reach of 600
    EXPECT_EQ(HitSliceHandle(slices, window, 69, kBottom - 1, kBottom)->position, 600);
    EXPECT_EQ(HitSliceHandle(slices, window, 40, kBottom - 1, kBottom), nullptr); // 400: 500 reaches from 405

    // Normal handles answer from 7 + 5 rows above the bottom, Locked from 12 + 5.
    EXPECT_EQ(HitSliceHandle(slices, window, 50, 5, kBottom), nullptr);
    EXPECT_NE(HitSliceHandle(slices, window, 50, 6, kBottom), nullptr);
    EXPECT_NE(HitSliceHandle(slices, window, 60, 1, kBottom), nullptr);
    EXPECT_EQ(HitSliceHandle(slices, window, 60, 0, kBottom), nullptr);
}

TEST(RulerMarks, LabelTextTrimsLeadingEmptyFields)
{
    EXPECT_EQ(RulerLabelText(66150, 44100), "1.5");
    EXPECT_EQ(RulerLabelText(0, 44100), "0.0");
    EXPECT_EQ(RulerLabelText(44100 * 61 + 22050, 44100), "1: 1.5");
    EXPECT_EQ(RulerLabelText(44100 * 600, 44100), "10: 0.0");
    EXPECT_EQ(RulerLabelText(int64_t(44100) * 3600, 44100), "1: 0: 0.0");
    EXPECT_EQ(RulerLabelText(int64_t(44100) * 3600 * 25, 44100), "1. 1: 0: 0.0");
    EXPECT_EQ(RulerLabelText(-66150, 44100), "-1.5");
    EXPECT_EQ(RulerLabelText(4409, 44100), "0.0"); // tenths truncate
}

TEST(RulerMarks, StepsFollowTheMagnification)
{
    EXPECT_EQ(ChooseRulerSteps(44100, 441).tick, 4410);
    EXPECT_EQ(ChooseRulerSteps(44100, 441).label, 44100);
    EXPECT_EQ(ChooseRulerSteps(44100, 2000).tick, 44100);
    EXPECT_EQ(ChooseRulerSteps(44100, 2000).label, 441000);

    const auto marks = RulerMarks(Window(441000, 0, 441000, 1000), 44100); // 441 frames per pixel
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks[0].tick, RulerTick::Labelled);
    EXPECT_EQ(marks[5].tick, RulerTick::Half);  // half a second
    EXPECT_EQ(marks[3].tick, RulerTick::Small);
    EXPECT_EQ(marks[10].tick, RulerTick::Labelled);
    EXPECT_EQ(marks[10].x, 100);
    EXPECT_EQ(marks.back().frame, 441000);
}

TEST(RulerMarks, LabelsCloserThan31PixelsAreSkipped)
{
    // 88200 frames per pixel: ten-second ticks 5 px apart, minute labels 30 px apart.
    const auto marks = RulerMarks(Window(13230000, 0, 13230000, 150), 44100);
    auto markAt = [&](int32_t frame) {
        for (const SRulerMark& mark : marks)
            if (mark.frame == frame)
                return mark;
        ADD_FAILURE() << "no mark at " << frame;
        return SRulerMark{};
    };
    EXPECT_EQ(markAt(0).tick, RulerTick::Labelled);
    EXPECT_EQ(markAt(2646000).x, 30);
    EXPECT_NE(markAt(2646000).tick, RulerTick::Labelled);
    EXPECT_EQ(markAt(5292000).tick, RulerTick::Labelled);
}

TEST(LocatorEdit, LocatorsKeep256FramesApart)
{
    const SLocators locators{1000, 5000};
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Left, 4900, 10000, nullptr, LocatorMove::Drag),
              (SLocators{4744, 5000}));
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Right, 1100, 10000, nullptr, LocatorMove::Drag),
              (SLocators{1000, 1256}));
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Right, 20000, 10000, nullptr, LocatorMove::Drag),
              (SLocators{1000, 10000}));
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Left, -5, 10000, nullptr, LocatorMove::Drag),
              (SLocators{0, 5000}));
    // Clicks outside the allowed frames are ignored.
    EXPECT_FALSE(MoveLocator(locators, LocatorSide::Left, 4900, 10000, nullptr, LocatorMove::Click));
    EXPECT_FALSE(MoveLocator(locators, LocatorSide::Right, 1200, 10000, nullptr, LocatorMove::Click));
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Left, 4744, 10000, nullptr, LocatorMove::Click),
              (SLocators{4744, 5000}));
    // A sound too short for the distance leaves them alone.
    EXPECT_FALSE(MoveLocator({0, 200}, LocatorSide::Left, 10, 200, nullptr, LocatorMove::Drag));
}

TEST(LocatorEdit, SnapsToActiveSlicesUnlessConstrained)
{
    CSliceList slices;
    AddSlice(slices, 3000, SliceState::Locked);
    AddSlice(slices, 4000, SliceState::Locked);
    const SLocators locators{0, 10000};
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Left, 3300, 10000, &slices, LocatorMove::Drag)->left, 3000);
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Left, 3300, 10000, nullptr, LocatorMove::Drag)->left, 3300);
    EXPECT_EQ(MoveLocator(locators, LocatorSide::Right, 9000, 10000, &slices, LocatorMove::Drag)->right, 10000);
    // Snapped next to the other locator, still kept 256 apart.
    EXPECT_EQ(MoveLocator({3000, 4100}, LocatorSide::Right, 3100, 10000, &slices, LocatorMove::Drag)->right, 3256);
}

TEST(OverviewFrame, AtLeastTwoPixelsWide)
{
    const TimeWindow overview = Window(13230000, 0, 13230000, 500); // 26460 frames per pixel
    EXPECT_EQ(OverviewFrameColumns(overview, Window(13230000, 1000, 2000, 100)), (SColumnSpan{0, 1}));
    EXPECT_EQ(OverviewFrameColumns(overview, Window(13230000, 13229000, 13230000, 100)), (SColumnSpan{498, 499}));
    EXPECT_EQ(OverviewFrameColumns(overview, Window(13230000, 0, 2646000, 100)), (SColumnSpan{0, 99}));
    EXPECT_EQ(OverviewFrameColumns(overview, Window(13230000, 0, 13230000, 100)), (SColumnSpan{0, 499}));
}

} // namespace
} // namespace quorvel
