#pragma once
// The overview's frame around the main view's visible stretch.
#include <cstdint>

namespace quorvel {

struct TimeWindow;

struct SColumnSpan {
    int32_t left = 0;  // first column
    int32_t right = 0; // last column, at least left + 1
    bool operator==(const SColumnSpan&) const = default;
};

// The overview columns of `visible`'s stretch, widened to at least 2 pixels:
// to the right, or to the left at the overview's right edge.
SColumnSpan OverviewFrameColumns(const TimeWindow& overview, const TimeWindow& visible);

} // namespace quorvel
