#include "fileformats/Extended80.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

std::optional<int32_t> Decode(std::initializer_list<uint8_t> bytes)
{
    uint8_t b[10] = {};
    std::copy(bytes.begin(), bytes.end(), b);
    return ExtendedToRate(b);
}

TEST(Extended80, EncodesRatesBothWays)
{
    uint8_t bytes[10];
    RateToExtended(44100, bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 10), (std::vector<uint8_t>{0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}));
    // Powers of two are where a logarithm-based exponent overflows the mantissa.
    for (int power = 0; power <= 30; ++power) {
        RateToExtended(std::ldexp(1.0, power), bytes);
        EXPECT_EQ(ExtendedToRate(bytes), int32_t(1) << power) << power;
    }
    for (const int32_t rate : {0, 1, 11025, 22050, 48000, 96000, INT32_MAX, -44100}) {
        RateToExtended(rate, bytes);
        EXPECT_EQ(ExtendedToRate(bytes), rate) << rate;
    }
}

TEST(Extended80, HostileValuesGiveNothingInsteadOfOverflowing)
{
    EXPECT_EQ(Decode({0x3F, 0xFE, 0x80}), 0);                   // 0.5 Hz truncates
    EXPECT_EQ(Decode({0x40, 0x1D, 0xFF, 0xFF, 0xFF, 0xFE}), INT32_MAX);
    EXPECT_EQ(Decode({0x40, 0x1E, 0x80}), std::nullopt);        // 2^31
    EXPECT_EQ(Decode({0x7F, 0xFE, 0xFF, 0xFF}), std::nullopt);  // ~1e4932
    EXPECT_EQ(Decode({0x7F, 0xFF, 0xC0}), std::nullopt);        // NaN
    EXPECT_EQ(Decode({0xFF, 0xFF}), std::nullopt);              // -infinity
}

} // namespace
} // namespace quorvel
