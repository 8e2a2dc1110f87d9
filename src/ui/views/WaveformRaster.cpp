#include "ui/views/WaveformRaster.h"

#include <algorithm>
#include <cstring>

#include "document/WaveSample.h"
#include "ui/views/PeakSummary.h"
#include "ui/views/TimeWindow.h"

namespace quorvel {

namespace {

using namespace palette_index;

// Inclusive run between two rows in either order, clipped to the target.
void Run(const SRasterTarget& target, int32_t x, int32_t from, int32_t to, uint8_t index)
{
    if (to < from)
        std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, target.height - 1);
    uint8_t* pixel = target.bits + int64_t(from) * target.stride + x;
    for (int32_t y = from; y <= to; ++y, pixel += target.stride)
        *pixel = index;
}

// A run from `top` down to `bottom` shaded from the light to the dark end.
void ShadedRun(const SRasterTarget& target, int32_t x, int32_t top, int32_t bottom)
{
    const int32_t steps = bottom - top;
    if (steps <= 0) {
        Run(target, x, top, top, static_cast<uint8_t>((kShadeTop + kShadeBottom) / 2));
        return;
    }
    const int32_t step = (int32_t(kShadeBottom) - kShadeTop) * 128 / steps;
    int32_t level = kShadeTop * 128;
    const int32_t first = std::max(top, 0);
    level += step * (first - top);
    const int32_t last = std::min(bottom, target.height - 1);
    uint8_t* pixel = target.bits + int64_t(first) * target.stride + x;
    for (int32_t y = first; y <= last; ++y, pixel += target.stride, level += step)
        *pixel = static_cast<uint8_t>(level / 128);
}

struct SExtent {
    int32_t top = 0;
    int32_t bottom = 0;
};

SExtent FromStore(const WAVE_SAMPLE& sound, int32_t first, int32_t count, int32_t mid)
{
    int16_t minimum = INT16_MAX;
    int16_t maximum = INT16_MIN;
    const BAT& store = sound.Store();
    for (int32_t i = first; i < first + count; ++i) {
        const int16_t v = store.ReadSample(static_cast<uint32_t>(i));
        minimum = std::min(minimum, v);
        maximum = std::max(maximum, v);
    }
    return {mid - (maximum * mid) / 32769, mid - (minimum * mid) / 32769};
}

SExtent FromSummary(const CPeakSummary& summary, int32_t first, int32_t count, int32_t mid)
{
    const int32_t last = summary.Count() - 1;
    const int32_t a = std::min(first / CPeakSummary::kFramesPerEntry, last);
    const int32_t b = std::min((first + count - 1) / CPeakSummary::kFramesPerEntry, last);
    const SPeak peak = summary.Merge(a, b);
    return {mid - (peak.maximum * mid) / 129, mid - (peak.minimum * mid) / 129};
}

} // namespace

void FillRaster(const SRasterTarget& target, uint8_t index)
{
    for (int32_t y = 0; y < target.height; ++y)
        std::memset(target.bits + int64_t(y) * target.stride, index, static_cast<size_t>(target.width));
}

void DrawRasterLine(const SRasterTarget& target, int32_t x, uint8_t index)
{
    if (x >= 0 && x < target.width)
        Run(target, x, 0, target.height - 1, index);
}

void DrawStyledColumn(const SRasterTarget& target, int32_t x, int32_t t, int32_t b, int32_t pt, int32_t pb,
                      WaveformStyle style)
{
    if (x < 0 || x >= target.width)
        return;
    switch (style) {
    case WaveformStyle::Outline:
        Run(target, x, pt, t, kBody);
        Run(target, x, pb, b, kBody);
        break;
    case WaveformStyle::ShadedOutline:
        Run(target, x, pt, t, t > pt ? kShadeBottom : kShadeTop);
        Run(target, x, pb, b, b <= pb ? kShadeBottom : kShadeTop);
        break;
    case WaveformStyle::Plain:
        if (b >= pt)
            Run(target, x, t > pb ? pb : t, b, kBody);
        else
            Run(target, x, t, pt, kBody);
        break;
    case WaveformStyle::Shaded:
        ShadedRun(target, x, t > pb ? pb : t, b < pt ? pt : b);
        break;
    case WaveformStyle::ThreeD: {
        Run(target, x, pb, b, b < pb ? kEdgeLight : kEdgeDark);
        Run(target, x, pt, t, t < pt ? kEdgeDark : kEdgeLight);
        const int32_t bodyTop = std::max(pt, t) + 1;
        const int32_t bodyBottom = std::min(pb, b) - 1;
        if (bodyBottom >= bodyTop)
            Run(target, x, bodyTop, bodyBottom, kBody);
        break;
    }
    }
}

void DrawWaveform(const SRasterTarget& target, const TimeWindow& window, WAVE_SAMPLE& sound, WaveformStyle style)
{
    const int32_t length = sound.Length();
    if (length <= 0 || target.width <= 0 || target.height <= 0)
        return;
    const int32_t perPixel = window.FramesPerPixel();
    const CPeakSummary* summary = nullptr;
    if (perPixel >= kSummaryFramesPerPixel) {
        summary = &CPeakSummary::Of(sound);
        if (summary->Count() == 0)
            summary = nullptr; // too short to summarise: the samples are few anyway
    }
    const int32_t mid = target.height / 2;
    const int32_t firstX = std::max<int32_t>(0, window.PixelOfFrame(std::max(window.visibleStart, window.totalStart)) -
                                                    window.leftPixel);
    const int32_t lastX = std::min<int32_t>(
        target.width - 1, window.PixelOfFrame(std::min(window.visibleEnd, window.totalEnd)) - window.leftPixel);
    int32_t previousTop = 0;
    int32_t previousBottom = 0;
    bool havePrevious = false;
    for (int32_t x = firstX; x <= lastX; ++x) {
        const int32_t first = window.FrameOfPixel(x + window.leftPixel);
        if (first >= length)
            break;
        if (first < 0)
            continue;
        // Up to the next column's first frame; at least one frame when a
        // short sound spreads a frame over several columns.
        const int32_t next = std::max(first + 1, window.FrameOfPixel(x + 1 + window.leftPixel));
        const int32_t count = std::min(next, length) - first;
        const SExtent extent =
            summary ? FromSummary(*summary, first, count, mid) : FromStore(sound, first, count, mid);
        if (!havePrevious) {
            previousTop = extent.top;
            previousBottom = extent.bottom;
            havePrevious = true;
        }
        DrawStyledColumn(target, x, extent.top, extent.bottom, previousTop, previousBottom, style);
        previousTop = extent.top;
        previousBottom = extent.bottom;
    }
}

} // namespace quorvel
