#pragma once
// Rates that come back from a period in nanoseconds are rarely whole: 44100 Hz
// travels as 22675 ns and returns as 44101 Hz. Brands snap them back.
#include <cstdint>

namespace quorvel {

// 44100, 48000, 32000, 22050, 11025 or 8000 when `rate` is within 1 Hz of
// it; otherwise `rate` unchanged.
uint32_t SnapToCommonRate(uint32_t rate);

} // namespace quorvel
