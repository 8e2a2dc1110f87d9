#pragma once
// The resampler's interpolation kernel: 512 phases of 8 coefficients (the
// first 6 used), each row summing to about 32511, so a tap sum shifted right
// by 15 is just under unity gain.
#include <array>
#include <cstdint>

namespace quorvel {

constexpr int kInterpolationRows = 512;
constexpr int kInterpolationTaps = 6;

using InterpolationRow = std::array<int16_t, 8>;
using InterpolationTable = std::array<InterpolationRow, kInterpolationRows>;

// Row r serves phases r/512 .. (r+1)/512 between the third and the fourth
// of six consecutive source frames. Built once, on first use.
const InterpolationTable& ResamplerTable();

} // namespace quorvel
