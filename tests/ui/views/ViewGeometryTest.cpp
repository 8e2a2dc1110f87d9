// Hit-testing, ruler marks and labels, locator limits and the overview frame.
#include <gtest/gtest.h>

#include <algorithm>

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

std::vector<SRulerMark> Labels(const std::vector<SRulerMark>& marks)
{
    std::vector<SRulerMark> labels;
    for (const SRulerMark& mark : marks)
        if (mark.tick == RulerTick::Labelled)
            labels.push_back(mark);
    return labels;
}

TEST(RulerMarks, AtLeastTwoLabelsAtEveryMagnification)
{
    // Every rate, width and depth down to one frame per pixel, anywhere in a
    // five-minute sound; and sounds from a few frames to a few seconds whole.
    for (int32_t rate : {7, 500, 8000, 11025, 44100, 48000, 96000, 192000}) {
        const int32_t total = rate * 300;
        for (int16_t width : {240, 620, 1500}) {
            for (int64_t perPixel = 1; perPixel <= total / width; perPixel *= 3) {
                for (int64_t start : {int64_t(0), int64_t(rate) * 7 / 3, int64_t(total) / 2}) {
                    const int64_t span = perPixel * width;
                    const int32_t from = static_cast<int32_t>(std::min(start, total - span));
                    const auto labels = Labels(RulerMarks(Window(total, from, int32_t(from + span), width), rate));
                    EXPECT_GE(labels.size(), 2u) << rate << " Hz, " << width << " px, " << perPixel
                                                 << " frames per pixel from " << from;
                }
            }
            for (int32_t length : {300, rate / 5, rate, rate * 3 / 2}) {
                const auto labels = Labels(RulerMarks(Window(length, 0, length, width), rate));
                EXPECT_GE(labels.size(), 2u) << rate << " Hz, " << width << " px, whole sound of " << length;
            }
        }
    }
}

TEST(RulerMarks, FinerStepsLabelWithTheirOwnPrecision)
{
    // 5000 frames over 720 px: hundredths labelled, thousandths ticked; the
    // labels lie on the exact frames of those times.
    auto labels = Labels(RulerMarks(Window(441000, 50000, 55040, 720), 44100));
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].label, "1.14");
    EXPECT_EQ(labels[0].frame, 50274);
    EXPECT_EQ(labels[1].label, "1.15");
    EXPECT_EQ(labels[1].frame, 50715);

    // 200 frames at one per pixel: thousandths (44.1 frames, falling between
    // frames at this rate).
    labels = Labels(RulerMarks(Window(441000, 44100, 44300, 200), 44100));
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].label, "1.000");
    EXPECT_EQ(labels[1].label, "1.001");
    EXPECT_EQ(labels[1].frame, 44144);

    // A short sound whole: tenths.
    labels = Labels(RulerMarks(Window(8820, 0, 8820, 620), 44100));
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[2].label, "0.2");

    // Where a thousandth of a second is wider than the view: frame numbers.
    labels = Labels(RulerMarks(Window(1920000, 96100, 96340, 240), 192000));
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].label, "96100");
    EXPECT_EQ(labels[1].label, "96200");
    EXPECT_EQ(labels[1].frame, 96200);

    EXPECT_EQ(RulerLabelTextOfMilliseconds(61250, 2), "1: 1.25");
    EXPECT_EQ(RulerLabelTextOfMilliseconds(5, 3), "0.005");
    EXPECT_EQ(RulerLabelTextOfMilliseconds(-1500, 1), "-1.5");
}

TEST(RulerMarks, TableStepsStayWhereTheyShowTwoLabels)
{
    // Three seconds at 441 frames per pixel: whole-second labels, as the
    // table gives, even though finer ones would fit.
    const auto marks = RulerMarks(Window(441000, 0, 132300, 300), 44100);
    const auto labels = Labels(marks);
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[1].label, "1.0");
    EXPECT_EQ(marks[1].frame, 4410);
    EXPECT_EQ(labels[0].label, RulerLabelText(0, 44100));
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
