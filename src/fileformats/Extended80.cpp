#include "fileformats/Extended80.h"

#include <cmath>

#include "fileformats/ByteOrder.h"

namespace quorvel {

namespace {
constexpr int kBias = 16383;
}

std::optional<int32_t> ExtendedToRate(const uint8_t bytes[10])
{
    const uint16_t signAndExponent = GetBE16(bytes);
    const bool negative = (signAndExponent & 0x8000) != 0;
    const int exponent = signAndExponent & 0x7FFF;
    const uint64_t mantissa = (uint64_t(GetBE32(bytes + 2)) << 32) | GetBE32(bytes + 6);
    if (exponent == 0x7FFF)
        return std::nullopt; // infinity or NaN
    // value = mantissa * 2^(exponent - bias - 63); done in integers so that
    // no exponent, however hostile, reaches an undefined conversion.
    const int unbiased = exponent - kBias;
    if (unbiased < 0 || mantissa == 0)
        return 0; // below 1 Hz truncates to 0
    if (unbiased > 31)
        return std::nullopt;
    const uint64_t whole = mantissa >> (63 - unbiased);
    if (whole > uint64_t(INT32_MAX))
        return std::nullopt;
    const auto value = static_cast<int32_t>(whole);
    return negative ? -value : value;
}

void RateToExtended(double rate, uint8_t bytes[10])
{
    for (int i = 0; i < 10; ++i)
        bytes[i] = 0;
    if (rate == 0 || !std::isfinite(rate))
        return;
    const bool negative = rate < 0;
    const double x = std::fabs(rate);
    // The exact binary exponent; a logarithm quotient can land a hair below
    // an integer for powers of two and overflow the mantissa.
    const int power = std::ilogb(x);
    const int exponent = power + kBias;
    if (exponent <= 0 || exponent >= 0x7FFF)
        return;
    const double y = std::ldexp(x, 31 - power); // in [2^31, 2^32)
    const double high = std::trunc(y);
    const double low = std::trunc((y - high) * 4294967296.0);
    PutBE16(bytes, static_cast<uint16_t>(exponent | (negative ? 0x8000 : 0)));
    PutBE32(bytes + 2, static_cast<uint32_t>(high));
    PutBE32(bytes + 6, static_cast<uint32_t>(low));
}

} // namespace quorvel
