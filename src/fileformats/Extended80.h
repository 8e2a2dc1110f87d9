#pragma once
// Sample rates as IEEE 754 80-bit extended numbers, as AIFF stores them.
#include <cstdint>
#include <optional>

namespace quorvel {

// The rate truncated to whole hertz (negative when the sign bit is set).
// Values that no 32-bit rate can hold (infinity, NaN, 2^31 Hz and more) give
// nothing instead of an undefined conversion.
std::optional<int32_t> ExtendedToRate(const uint8_t bytes[10]);

// Encodes a rate; 0 gives ten zero bytes. 44100 is 40 0E AC 44 00 .. 00.
void RateToExtended(double rate, uint8_t bytes[10]);

} // namespace quorvel
