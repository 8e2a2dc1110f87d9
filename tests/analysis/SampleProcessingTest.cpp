#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include "../common/SlicedSound.h"
#include "SoundFromValues.h"
#include "analysis/InterpolationTable.h"
#include "analysis/Normalize.h"
#include "analysis/Resample.h"

namespace quorvel {
namespace {

using testing::SoundOf;
using Values = std::vector<int16_t>;

TEST(InterpolationTable, KeepsTheKnownRowsAndAUnityShapeBetween)
{
    const InterpolationTable& t = ResamplerTable();
    auto taps = [&](int r) { return Values(t[size_t(r)].begin(), t[size_t(r)].begin() + 6); };
    EXPECT_EQ(taps(0), (Values{17, -94, 32588, 0, 0, 0}));
    EXPECT_EQ(taps(1), (Values{26, -141, 32587, 47, -8, 0}));
    EXPECT_EQ(taps(128), (Values{605, -3725, 28771, 8336, -1626, 150}));
    EXPECT_EQ(taps(255), (Values{458, -3507, 19305, 19305, -3507, 458}));
    EXPECT_EQ(taps(384), (Values{146, -1595, 8176, 28883, -3703, 603}));
    EXPECT_EQ(taps(511), (Values{0, 8, -47, 32590, -47, 8}));
    for (size_t r = 0; r < kInterpolationRows; ++r) {
        ASSERT_NEAR(std::accumulate(t[r].begin(), t[r].end(), 0), 32511, 4) << "row " << r;
        ASSERT_EQ(t[r][6] | t[r][7], 0) << "row " << r;
        if (r > 0) { // the weight moves steadily from the third tap to the fourth
            ASSERT_LE(t[r][2], t[r - 1][2]) << "row " << r;
            ASSERT_GE(t[r][3], t[r - 1][3]) << "row " << r;
        }
    }
}

TEST(Resample, HalvingTheRateTakesEverySecondFrameOneLate)
{
    Values ramp(1001);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = int16_t(i * 20);
    BAT out(2 * 600);
    ASSERT_EQ(Resample(SoundOf(ramp)->Store(), 44100, 1001, out, 22050), 500);
    for (uint32_t j = 10; j < 490; j += 37) // row 0 every time, centred on frame 2j - 1
        EXPECT_NEAR(out.ReadSample(j), (2 * j - 1) * 20 * 32511.0 / 32768, 3) << j;
    EXPECT_EQ(out.ReadSample(500), 0);
}

TEST(Resample, SineStaysAPureSineOfTheSameFrequency)
{
    Values sine(44100);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = int16_t(std::lround(16000 * std::sin(2 * std::numbers::pi * 1000 * double(i) / 44100)));
    BAT out(2 * 48000);
    ASSERT_EQ(Resample(SoundOf(sine)->Store(), 44100, 44100, out, 48000), 48000);

    // The source advances 30105/32768 frames per output frame (the fraction
    // is truncated): 18 ppm flat, far below anything audible.
    const double cycles = 1000.0 / 44100 * 30105 / 32768;
    EXPECT_NEAR(cycles * 48000, 1000, 0.1);
    // Fit a sine of that frequency away from the edges; what the fit leaves
    // is distortion and noise.
    const uint32_t first = 100, count = 47700;
    auto w = [&](uint32_t j) { return 2 * std::numbers::pi * cycles * j; };
    double a = 0, b = 0, residual = 0;
    for (uint32_t j = first; j < first + count; ++j)
        a += out.ReadSample(j) * std::sin(w(j)) * 2 / count, b += out.ReadSample(j) * std::cos(w(j)) * 2 / count;
    for (uint32_t j = first; j < first + count; ++j)
        residual += std::pow(out.ReadSample(j) - a * std::sin(w(j)) - b * std::cos(w(j)), 2);
    const double signal = (a * a + b * b) / 2 * count;
    EXPECT_LT(10 * std::log10(residual / signal), -60.0);
}

TEST(Normalize, ScalesThePeakToJustBelowFullScale)
{
    for (auto [in, expected] : std::vector<std::pair<Values, Values>>{
             {{16384, -8192, 3, 0}, {32767, -16384, 5, 0}}, // factor 65534
             {{-32768, 100}, {-32767, 99}},
             {{32767, -5}, {32767, -5}},
             {{0, 0}, {0, 0}}}) {
        auto sound = SoundOf(in);
        Normalize(*sound);
        EXPECT_EQ(test::ValuesOf(*sound), expected);
    }
}

} // namespace
} // namespace quorvel
