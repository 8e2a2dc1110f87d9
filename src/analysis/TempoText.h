#pragma once
// The texts of the tempo controls and the reading of what the user typed.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

// "%3ld.%03ld" of tempo / 1000 and tempo % 1000: 85500 gives " 85.500".
std::string FormatTempo(int32_t tempo);
// The calculated-tempo label: " 85.500 BPM".
std::string TempoLabel(int32_t tempo);
// The new-tempo field: "85.500" (no leading blanks).
std::string NewTempoFieldText(int32_t newTempo);

// A typed new tempo (digits and one point) in milli-BPM: the decimal value
// times 1000, truncated, held at 1 .. 999999; empty or unreadable gives 1.
int32_t ParseNewTempo(std::string_view text);
// Typed bars (digits), held at 0 .. 666; empty gives 0.
int32_t ParseBars(std::string_view text);

// The stretch fader runs 0 .. 999 and snaps to the 14 stretch steps:
// trunc(position x 13 / 999) is the step, and each step's snap position
// reads back as that same step.
int16_t StretchIndexFromFader(int32_t position);
int32_t StretchFaderPosition(int16_t index);

} // namespace quorvel
