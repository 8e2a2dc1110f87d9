#pragma once
// Which stretch of frames a view shows, across which pixels, and the zoom and
// scroll arithmetic every view along the time axis shares.
#include <cstdint>

namespace quorvel {

struct TimeWindow {
    int32_t totalStart = 0;
    int32_t totalEnd = 0;
    int32_t visibleStart = 0;
    int32_t visibleEnd = 0;
    int16_t leftPixel = 0;
    int16_t rightPixel = 0;

    bool operator==(const TimeWindow&) const = default;

    int32_t VisibleSpan() const { return visibleEnd - visibleStart; }
    int32_t TotalSpan() const { return totalEnd - totalStart; }
    // Right minus left pixel; a zero width counts as 1 so nothing divides by 0.
    int32_t PixelWidth() const;

    int32_t FramesPerPixel() const;
    int16_t PixelOfFrame(int32_t frame) const;
    int32_t FrameOfPixel(int32_t x) const;
    // How many frames a distance of `pixels` covers.
    int64_t FramesOfPixels(int64_t pixels) const;

    // Every change of the visible stretch ends here: the span is cut to the
    // whole and the stretch moved back inside it.
    void SetVisible(int32_t start, int32_t end);
    void ScrollTo(int32_t start);
    void ScrollByTenth(bool right);
    void ScrollByPage(bool right);
    void ZoomIn();
    void ZoomOut();
    void ZoomInAround(int32_t frame);
    void ShowAll();

    // Snaps the stretch to whole pixels: the start to a multiple of the frames
    // per pixel and the end to exactly one pixel width further, moved back
    // so as not to pass the end, so that every view of a window maps frames
    // to the same columns. At least one frame per pixel, except that a sound
    // narrower than that is shown whole across the width.
    void SnapToPixels();
};

// The magnification slider's 0 .. 63 against the visible span, with
// `pixelWidth` the main waveform's width and `totalSpan` the whole sound.
constexpr int32_t kMagnifySteps = 63;
int32_t SpanOfMagnification(int32_t step, int32_t pixelWidth, int32_t totalSpan);
int32_t MagnificationOfSpan(int32_t span, int32_t pixelWidth, int32_t totalSpan);

// The horizontal scroll bar's 0 .. 999 against the visible start.
constexpr int32_t kScrollSteps = 999;
int32_t ScrollValueOfWindow(const TimeWindow& window);
int32_t StartOfScrollValue(int32_t value, const TimeWindow& window);

} // namespace quorvel
