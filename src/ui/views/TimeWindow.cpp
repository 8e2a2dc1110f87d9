#include "ui/views/TimeWindow.h"

#include <algorithm>

namespace quorvel {

int32_t TimeWindow::PixelWidth() const
{
    const int32_t width = int32_t(rightPixel) - leftPixel;
    return width == 0 ? 1 : width;
}

int32_t TimeWindow::FramesPerPixel() const
{
    const int64_t span = VisibleSpan();
    const int64_t width = PixelWidth();
    const int64_t perPixel = span > 0 ? (span + width - 1) / width : 0;
    return static_cast<int32_t>(std::max<int64_t>(1, perPixel));
}

// The visible span spread exactly over the width. A stretch snapped to
// whole pixels (span = frames per pixel x width) maps as frames per pixel
// would; only the whole of a sound whose length is no such multiple maps
// finer, so that it still reaches the right edge.
int16_t TimeWindow::PixelOfFrame(int32_t frame) const
{
    const int64_t span = VisibleSpan();
    const int64_t offset = int64_t(frame) - visibleStart;
    if (span <= 0)
        return static_cast<int16_t>(leftPixel + offset);
    return static_cast<int16_t>(leftPixel + offset * PixelWidth() / span);
}

int32_t TimeWindow::FrameOfPixel(int32_t x) const
{
    return static_cast<int32_t>(visibleStart + FramesOfPixels(int64_t(x) - leftPixel));
}

int64_t TimeWindow::FramesOfPixels(int64_t pixels) const
{
    const int64_t span = VisibleSpan();
    if (span <= 0)
        return pixels;
    return pixels * span / PixelWidth();
}

void TimeWindow::SetVisible(int32_t start, int32_t end)
{
    const int32_t span = std::min(end - start, TotalSpan());
    if (start < totalStart) {
        start = totalStart;
        end = totalStart + span;
    } else {
        end = start + span;
    }
    if (end > totalEnd) {
        end = totalEnd;
        start = totalEnd - span;
    }
    visibleStart = start;
    visibleEnd = end;
}

void TimeWindow::ScrollTo(int32_t start)
{
    const int32_t span = VisibleSpan();
    if (start < totalStart)
        start = totalStart;
    else if (int64_t(start) + span > totalEnd)
        start = std::max(visibleStart, totalEnd - span);
    SetVisible(start, start + span);
}

void TimeWindow::ScrollByTenth(bool right)
{
    const int32_t step = VisibleSpan() / 10;
    ScrollTo(right ? visibleStart + step : visibleStart - step);
}

void TimeWindow::ScrollByPage(bool right)
{
    const int32_t step = VisibleSpan();
    ScrollTo(right ? visibleStart + step : visibleStart - step);
}

void TimeWindow::ZoomIn()
{
    const int32_t quarter = VisibleSpan() / 4;
    SetVisible(visibleStart + quarter, visibleEnd - quarter);
}

void TimeWindow::ZoomOut()
{
    const int32_t half = VisibleSpan() / 2;
    SetVisible(visibleStart - half, visibleEnd + half);
}

void TimeWindow::ZoomInAround(int32_t frame)
{
    const int32_t quarter = VisibleSpan() / 4;
    SetVisible(frame - quarter, frame + quarter);
}

void TimeWindow::ShowAll() { SetVisible(totalStart, totalEnd); }

void TimeWindow::SnapToPixels()
{
    const int64_t perPixel = FramesPerPixel();
    const int64_t span = perPixel * PixelWidth();
    if (span >= TotalSpan()) {
        // The whole sound fits: show exactly the whole, edge to edge, rather
        // than columns past its end.
        visibleStart = totalStart;
        visibleEnd = totalEnd;
        return;
    }
    int64_t start = std::min<int64_t>(visibleStart, int64_t(totalEnd) - span);
    const int64_t offset = start - totalStart;
    start -= (offset % perPixel + perPixel) % perPixel;
    if (start < totalStart)
        start = totalStart;
    visibleStart = static_cast<int32_t>(start);
    visibleEnd = static_cast<int32_t>(start + span);
}

int32_t SpanOfMagnification(int32_t step, int32_t pixelWidth, int32_t totalSpan)
{
    step = std::clamp(step, 0, kMagnifySteps);
    const int64_t room = std::max<int64_t>(0, int64_t(totalSpan) - pixelWidth);
    return static_cast<int32_t>(pixelWidth + room * step / kMagnifySteps);
}

int32_t MagnificationOfSpan(int32_t span, int32_t pixelWidth, int32_t totalSpan)
{
    const int64_t above = int64_t(span) - pixelWidth;
    const int64_t room = int64_t(totalSpan) - pixelWidth;
    if (above < 1 || room < 1)
        return 0;
    return static_cast<int32_t>(std::min<int64_t>(kMagnifySteps, kMagnifySteps * above / room));
}

int32_t ScrollValueOfWindow(const TimeWindow& window)
{
    const int64_t room = int64_t(window.TotalSpan()) - window.VisibleSpan();
    if (room <= 0)
        return 0;
    const int64_t offset = int64_t(window.visibleStart) - window.totalStart;
    return static_cast<int32_t>(std::clamp<int64_t>(kScrollSteps * offset / room, 0, kScrollSteps));
}

int32_t StartOfScrollValue(int32_t value, const TimeWindow& window)
{
    const int64_t room = std::max<int64_t>(0, int64_t(window.TotalSpan()) - window.VisibleSpan());
    return static_cast<int32_t>(window.totalStart + room * std::clamp(value, 0, kScrollSteps) / kScrollSteps);
}

} // namespace quorvel
