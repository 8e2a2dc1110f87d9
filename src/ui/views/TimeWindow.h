#pragma once
// Which stretch of frames a view shows, across which pixels.
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
};

} // namespace quorvel
