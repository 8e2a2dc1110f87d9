#pragma once
// Draws a waveform into an 8-bit buffer, column by column, in one of the
// five styles. The palette gives the indices their colours; only the indices
// named here are drawn with.
#include <cstdint>

namespace quorvel {

class WAVE_SAMPLE;
struct TimeWindow;

namespace palette_index {
constexpr uint8_t kBackground = 0;
constexpr uint8_t kLine = 1;        // slice lines
constexpr uint8_t kLocatorLine = 2;
constexpr uint8_t kShadeBottom = 19; // dark end of the shading ramp
constexpr uint8_t kEdgeDark = 48;
constexpr uint8_t kBody = 132;
constexpr uint8_t kEdgeLight = 216;
constexpr uint8_t kShadeTop = 245; // light end of the shading ramp
} // namespace palette_index

enum class WaveformStyle : int {
    Outline = 30,
    ShadedOutline = 31,
    Plain = 32,
    Shaded = 33,
    ThreeD = 34,
};

// Where the pixels go: row y starts at bits + y * stride.
struct SRasterTarget {
    uint8_t* bits = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Below this many frames per pixel columns read the samples themselves,
// from it on the peak summary.
constexpr int32_t kSummaryFramesPerPixel = 32;

void FillRaster(const SRasterTarget& target, uint8_t index);
// A full-height line; columns outside the target are ignored.
void DrawRasterLine(const SRasterTarget& target, int32_t x, uint8_t index);

// One column of a style: t and b are this column's top and bottom, pt and pb
// the previous column's (y grows downward). Rows outside are clipped.
void DrawStyledColumn(const SRasterTarget& target, int32_t x, int32_t t, int32_t b, int32_t pt, int32_t pb,
                      WaveformStyle style);

// The columns of the visible stretch of `sound` (x of the target =
// pixel - window.leftPixel). Builds the sound's peak summary when zoomed out
// far enough to need it.
void DrawWaveform(const SRasterTarget& target, const TimeWindow& window, WAVE_SAMPLE& sound, WaveformStyle style);

} // namespace quorvel
