#include "playback/JackStereoOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quorvel {
namespace {

// Left counts up from `first`, right is its negation.
class CountingSource : public CABCSoundRenderer {
public:
    explicit CountingSource(int32_t first = 0) : next(first) {}
    void Render(int16_t* out, int32_t frames) override
    {
        for (int32_t i = 0; i < frames; ++i, ++next) {
            out[2 * i] = static_cast<int16_t>(next);
            out[2 * i + 1] = static_cast<int16_t>(-next);
        }
    }
    int32_t next;
};

class FixedSource : public CABCSoundRenderer {
public:
    void Render(int16_t* out, int32_t frames) override
    {
        for (int32_t i = 0; i < frames; ++i) {
            out[2 * i] = -32768;
            out[2 * i + 1] = 32767;
        }
    }
};

TEST(JackStereoOutput, At44100EverySampleIsExactlyItsValueOver32768)
{
    FixedSource source;
    CJackStereoOutput output(44100, source);
    std::vector<float> left(256, 9.0f), right(256, 9.0f);
    ASSERT_TRUE(output.Process(left.data(), right.data(), 256));
    EXPECT_EQ(left[0], -1.0f);
    EXPECT_EQ(right[255], 32767.0f / 32768.0f);

    CountingSource counting(-128);
    CJackStereoOutput exact(44100, counting);
    ASSERT_TRUE(exact.Process(left.data(), right.data(), 256));
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(left[size_t(i)], float(i - 128) / 32768.0f);
        ASSERT_EQ(right[size_t(i)], float(128 - i) / 32768.0f);
    }

    // A period longer than the memory reserved for it: silence, reported.
    std::vector<float> longLeft(CJackStereoOutput::kMaxPeriod + 1, 9.0f), longRight(longLeft);
    EXPECT_FALSE(exact.Process(longLeft.data(), longRight.data(), CJackStereoOutput::kMaxPeriod + 1));
    EXPECT_EQ(longLeft.front(), 0.0f);
    EXPECT_EQ(longRight.back(), 0.0f);
    EXPECT_THROW(CJackStereoOutput(8000, source), ZSOUND_EXCEPTION);
}

TEST(JackStereoOutput, OtherRatesInterpolateAlongTheSourceWhateverThePeriods)
{
    for (const uint32_t rate : {48000u, 32000u, 96000u}) {
        // Output frame k lies at k * 44100 / rate source frames; the source
        // is a ramp, so linear interpolation gives that position itself.
        CountingSource source;
        CJackStereoOutput output(rate, source);
        std::vector<float> left, right;
        const uint32_t periods[] = {256, 1, 1000, 7, 8192, 333};
        for (int round = 0; round < 2; ++round) { // the ramp stays below 32767
            for (const uint32_t period : periods) {
                std::vector<float> l(period), r(period);
                ASSERT_TRUE(output.Process(l.data(), r.data(), period));
                left.insert(left.end(), l.begin(), l.end());
                right.insert(right.end(), r.begin(), r.end());
            }
        }
        for (size_t k = 0; k < left.size(); ++k) {
            const double at = double(k) * 44100.0 / rate;
            ASSERT_NEAR(left[k] * 32768.0, at, 0.02) << rate << " Hz, frame " << k;
            ASSERT_NEAR(right[k] * 32768.0, -at, 0.02) << rate << " Hz, frame " << k;
        }
        // Never more than the frames the next output needs are held back.
        const double needed = double(left.size()) * 44100.0 / rate;
        EXPECT_LE(source.next, std::ceil(needed) + 2) << rate;
        EXPECT_GE(source.next, std::floor(needed)) << rate;

        // Reset starts again on a fresh source frame.
        output.Reset();
        const int32_t fresh = source.next;
        std::vector<float> l(4), r(4);
        output.Process(l.data(), r.data(), 4);
        EXPECT_EQ(l[0] * 32768.0f, float(fresh)) << rate;
    }
}

} // namespace
} // namespace quorvel
