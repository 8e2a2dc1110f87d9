#pragma once
// Maps the document's sensitivity (0 .. 990 in steps of 10) to the strength a
// slice must exceed to cut the loop: 0 lets nothing through, 990 nearly all.
#include <algorithm>
#include <cstdint>

namespace quorvel {

constexpr int16_t SensitivityThreshold(int32_t sensitivity)
{
    const int32_t s = std::clamp(sensitivity, 0, 999);
    return static_cast<int16_t>(32767 - (s * 32767 + 499) / 999);
}

} // namespace quorvel
