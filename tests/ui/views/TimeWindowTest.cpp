#include <gtest/gtest.h>

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

TEST(TimeWindow, MapsFramesAndPixels)
{
    TimeWindow window = Window(100000, 1000, 2001, 100); // 1001 frames over 100 px: 11 per pixel
    window.leftPixel = 0;
    EXPECT_EQ(window.FramesPerPixel(), 11);
    EXPECT_EQ(window.PixelOfFrame(1000), 0);
    EXPECT_EQ(window.PixelOfFrame(1010), 0);
    EXPECT_EQ(window.PixelOfFrame(1011), 1);
    EXPECT_EQ(window.PixelOfFrame(990), 0); // truncates toward zero
    EXPECT_EQ(window.FrameOfPixel(3), 1030); // 3 x 1001 / 100: the span spread over the width

    // A stretch of whole frames per pixel maps by frames per pixel.
    TimeWindow snapped = Window(100000, 1000, 2100, 100);
    EXPECT_EQ(snapped.FramesPerPixel(), 11);
    EXPECT_EQ(snapped.FrameOfPixel(3), 1033);
    EXPECT_EQ(snapped.PixelOfFrame(1032), 2);
    EXPECT_EQ(snapped.PixelOfFrame(1033), 3);

    window.leftPixel = 10;
    window.rightPixel = 10; // no width: taken as one pixel
    EXPECT_EQ(window.PixelWidth(), 1);
    EXPECT_EQ(window.FramesPerPixel(), 1001);
    EXPECT_EQ(window.PixelOfFrame(1000), 10);

    TimeWindow deep = Window(100, 0, 10, 100);
    EXPECT_EQ(deep.FramesPerPixel(), 1);
}

TEST(TimeWindow, SetVisibleKeepsTheStretchInsideTheWhole)
{
    TimeWindow window = Window(1000, 0, 100, 10);
    window.SetVisible(-50, 50);
    EXPECT_EQ(window.visibleStart, 0);
    EXPECT_EQ(window.visibleEnd, 100);
    window.SetVisible(950, 1050);
    EXPECT_EQ(window.visibleStart, 900);
    EXPECT_EQ(window.visibleEnd, 1000);
    window.SetVisible(-500, 5000); // span cut to the whole
    EXPECT_EQ(window.visibleStart, 0);
    EXPECT_EQ(window.visibleEnd, 1000);
}

TEST(TimeWindow, ScrollsByTenthsPagesAndStopsAtTheEnds)
{
    TimeWindow window = Window(1000, 100, 200, 10);
    window.ScrollByTenth(true);
    EXPECT_EQ(window.visibleStart, 110);
    window.ScrollByPage(false);
    EXPECT_EQ(window.visibleStart, 10);
    window.ScrollByPage(false);
    EXPECT_EQ(window.visibleStart, 0);
    EXPECT_EQ(window.visibleEnd, 100);
    window.ScrollTo(2000);
    EXPECT_EQ(window.visibleStart, 900);
    EXPECT_EQ(window.visibleEnd, 1000);
    // A stretch hanging past the end is moved back inside.
    TimeWindow beyond = Window(1000, 950, 1100, 10);
    beyond.ScrollTo(990);
    EXPECT_EQ(beyond.visibleStart, 850);
}

TEST(TimeWindow, ZoomsAboutTheMiddleOrAFrame)
{
    TimeWindow window = Window(10000, 1000, 2000, 10);
    window.ZoomIn();
    EXPECT_EQ(window.visibleStart, 1250);
    EXPECT_EQ(window.visibleEnd, 1750);
    window.ZoomOut();
    EXPECT_EQ(window.visibleStart, 1000);
    EXPECT_EQ(window.visibleEnd, 2000);
    window.ZoomInAround(100); // would start before 0: moved inside
    EXPECT_EQ(window.visibleStart, 0);
    EXPECT_EQ(window.visibleEnd, 500);
    window.ShowAll();
    EXPECT_EQ(window.visibleStart, 0);
    EXPECT_EQ(window.visibleEnd, 10000);
    window.ZoomOut();
    EXPECT_EQ(window.visibleEnd, 10000);
}

TEST(TimeWindow, SnapsToWholePixels)
{
    TimeWindow window = Window(100000, 1234, 5678, 100); // 4444 frames: 45 per pixel
    window.SnapToPixels();
    EXPECT_EQ(window.visibleStart, 1215);
    EXPECT_EQ(window.visibleEnd, 1215 + 4500);
    // Never deeper than one frame per pixel.
    TimeWindow deep = Window(100000, 500, 520, 100);
    deep.SnapToPixels();
    EXPECT_EQ(deep.FramesPerPixel(), 1);
    EXPECT_EQ(deep.visibleEnd - deep.visibleStart, 100);

    // Snapping never runs past the end: the stretch moves back instead.
    TimeWindow atEnd = Window(100000, 95600, 100000, 100); // 44 per pixel, 4400 frames
    atEnd.SnapToPixels();
    EXPECT_EQ(atEnd.VisibleSpan(), 4400);
    EXPECT_LE(atEnd.visibleEnd, 100000);
    EXPECT_EQ(atEnd.visibleStart % 44, 0);
    // A whole that whole pixels cannot fit exactly is shown exactly whole.
    TimeWindow whole = Window(8820, 0, 8820, 620);
    whole.SnapToPixels();
    EXPECT_EQ(whole.visibleStart, 0);
    EXPECT_EQ(whole.visibleEnd, 8820);
    EXPECT_EQ(whole.PixelOfFrame(8820), 620);
    TimeWindow tiny = Window(300, 0, 300, 600); // shorter than the width
    tiny.SnapToPixels();
    EXPECT_EQ(tiny.visibleEnd, 300);
    EXPECT_EQ(tiny.PixelOfFrame(150), 300);
    EXPECT_EQ(tiny.FrameOfPixel(599), 299);
}

TEST(TimeWindow, MagnificationSliderMapsBothWays)
{
    EXPECT_EQ(SpanOfMagnification(0, 500, 63500), 500);
    EXPECT_EQ(SpanOfMagnification(63, 500, 63500), 63500);
    EXPECT_EQ(SpanOfMagnification(1, 500, 63500), 1500);
    EXPECT_EQ(MagnificationOfSpan(1500, 500, 63500), 1);
    EXPECT_EQ(MagnificationOfSpan(1499, 500, 63500), 0);
    EXPECT_EQ(MagnificationOfSpan(63500, 500, 63500), 63);
    EXPECT_EQ(MagnificationOfSpan(400, 500, 63500), 0);  // deeper than the width
    EXPECT_EQ(MagnificationOfSpan(400, 500, 300), 0);    // sound narrower than the view
    EXPECT_EQ(SpanOfMagnification(40, 500, 300), 500);
    // A five-minute sound on a wide view: no overflow.
    EXPECT_EQ(MagnificationOfSpan(13230000, 1280, 13230000), 63);
}

TEST(TimeWindow, ScrollBarMapsBothWays)
{
    TimeWindow window = Window(10000, 0, 1000, 10);
    EXPECT_EQ(ScrollValueOfWindow(window), 0);
    window.ScrollTo(4500);
    EXPECT_EQ(ScrollValueOfWindow(window), 499);
    window.ScrollTo(9000);
    EXPECT_EQ(ScrollValueOfWindow(window), 999);
    EXPECT_EQ(StartOfScrollValue(999, window), 9000);
    EXPECT_EQ(StartOfScrollValue(500, window), 4504);
    window.ShowAll();
    EXPECT_EQ(ScrollValueOfWindow(window), 0); // everything visible
    EXPECT_EQ(StartOfScrollValue(700, window), 0);
}

} // namespace
} // namespace quorvel
