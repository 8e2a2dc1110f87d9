#include "ui/views/OverviewFrame.h"

#include <algorithm>

#include "ui/views/TimeWindow.h"

namespace quorvel {

SColumnSpan OverviewFrameColumns(const TimeWindow& overview, const TimeWindow& visible)
{
    const int32_t lastColumn = std::max<int32_t>(overview.leftPixel + 1, overview.rightPixel - 1);
    const int32_t start = std::max(visible.visibleStart, overview.totalStart);
    const int32_t end = std::min(visible.visibleEnd, overview.totalEnd);
    SColumnSpan span{std::clamp<int32_t>(overview.PixelOfFrame(start), overview.leftPixel, lastColumn),
                     std::clamp<int32_t>(overview.PixelOfFrame(std::max(start, end - 1)), overview.leftPixel,
                                         lastColumn)};
    if (span.right - span.left < 1) {
        if (span.left + 1 <= lastColumn)
            span.right = span.left + 1;
        else
            span.left = span.right - 1;
    }
    return span;
}

} // namespace quorvel
