#pragma once
// The stretch amount: how much each slice is lengthened for slower playback,
// as an index 0 .. 13 into a fixed table of percentages.
#include <cstdint>
#include <string>

namespace quorvel {

constexpr int kStretchSteps = 14;

// Percentage of index (clamped to the table): 0, 5, 10, ... 100.
int32_t StretchPercent(int32_t index);
// Stretch factor in thousandths: 1000 + 10 x percentage.
int32_t StretchFactor(int32_t index);
// "Off" for index 0, else "%d%%".
std::string StretchText(int32_t index);

} // namespace quorvel
