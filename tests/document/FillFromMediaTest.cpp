#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "document/FillFromMedia.h"

namespace quorvel {
namespace {

constexpr int32_t kHeader = 12; // data starts after a few unrelated bytes

// A media holding a header and then the interleaved values.
std::unique_ptr<CMemoryMedia> MediaOf(const std::vector<int16_t>& values)
{
    auto media = std::make_unique<CMemoryMedia>(kHeader + static_cast<int32_t>(values.size() * 2));
    std::memcpy(media->Data() + kHeader, values.data(), values.size() * 2);
    media->SetPosition(kHeader);
    return media;
}

std::vector<int16_t> Stored(const BAT& store, int32_t frames)
{
    std::vector<int16_t> values(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i)
        values[static_cast<size_t>(i)] = store.ReadSample(static_cast<uint32_t>(i));
    return values;
}

// 10000 stereo frames span several 4096-frame chunks.
std::vector<int16_t> Stereo(int32_t frames, int16_t left0, int16_t right0)
{
    std::vector<int16_t> values;
    for (int32_t k = 0; k < frames; ++k) {
        values.push_back(static_cast<int16_t>(k % 7 == 0 ? left0 : (k * 13) % 2000 - 1000));
        values.push_back(static_cast<int16_t>(k % 7 == 0 ? right0 : (k * 29) % 3000 - 1500));
    }
    return values;
}

TEST(FillFromMedia, ExtractsOneChannel)
{
    const int32_t frames = 10000;
    const auto values = Stereo(frames, 100, -200);
    for (int channel : {0, 1}) {
        auto media = MediaOf(values);
        BAT store(frames * 2);
        EXPECT_FALSE(FillFromMedia(*media, store, 2, 2, channel, frames, false));
        const auto out = Stored(store, frames);
        for (int32_t k : {0, 1, 4095, 4096, 9999})
            EXPECT_EQ(out[static_cast<size_t>(k)], values[static_cast<size_t>(2 * k + channel)]) << k;
    }

    // Mono is a plain copy, many chunks long.
    std::vector<int16_t> mono(20000);
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = static_cast<int16_t>(i * 3 - 30000);
    auto media = MediaOf(mono);
    BAT store(20000 * 2);
    EXPECT_FALSE(FillFromMedia(*media, store, 2, 1, 0, 20000, false));
    EXPECT_EQ(Stored(store, 20000), mono);
}

TEST(FillFromMedia, MixDownSumsWithoutGainWhileTheSumFits)
{
    const int32_t frames = 10000;
    auto values = Stereo(frames, 16384, 16383); // peaks at exactly 32767
    values[2 * 3] = -16384;
    values[2 * 3 + 1] = -16384; // and -32768
    auto media = MediaOf(values);
    BAT store(frames * 2);
    EXPECT_FALSE(FillFromMedia(*media, store, 2, 2, 2, frames, false));
    const auto out = Stored(store, frames);
    for (int32_t k = 0; k < frames; ++k)
        ASSERT_EQ(out[static_cast<size_t>(k)], values[static_cast<size_t>(2 * k)] + values[static_cast<size_t>(2 * k + 1)]) << k;
}

TEST(FillFromMedia, MixDownScalesTheWholeFileWhenTheSumClips)
{
    const int32_t frames = 10000;
    const auto values = Stereo(frames, 20000, 20000); // sum peaks at 40000
    auto media = MediaOf(values);
    BAT store(frames * 2);
    EXPECT_TRUE(FillFromMedia(*media, store, 2, 2, 2, frames, false));

    const int32_t gain = 0x3FFF8000 / 40000;
    ASSERT_EQ(gain, 26842);
    const auto out = Stored(store, frames);
    EXPECT_EQ(out[0], 32766);
    for (int32_t k = 0; k < frames; ++k) {
        const int32_t l = values[static_cast<size_t>(2 * k)];
        const int32_t r = values[static_cast<size_t>(2 * k + 1)];
        ASSERT_EQ(out[static_cast<size_t>(k)], ((l * gain) >> 15) + ((r * gain) >> 15)) << k;
    }
}

TEST(FillFromMedia, SwapsBigEndianWords)
{
    CMemoryMedia media(6);
    const uint8_t bigEndian[6] = {0x12, 0x34, 0xFF, 0xFE, 0x80, 0x00};
    std::memcpy(media.Data(), bigEndian, 6);
    BAT store(6);
    FillFromMedia(media, store, 2, 1, 0, 3, true);
    EXPECT_EQ(store.ReadSample(0), 0x1234);
    EXPECT_EQ(store.ReadSample(1), -2);
    EXPECT_EQ(store.ReadSample(2), -32768);
}

TEST(FillFromMedia, RefusesArgumentsThatWouldOverrunTheStore)
{
    auto media = MediaOf(std::vector<int16_t>(100));
    BAT store(100);
    EXPECT_THROW(FillFromMedia(*media, store, 2, 1, 0, 51, false), XBase) << "more frames than the store holds";
    EXPECT_THROW(FillFromMedia(*media, store, 2, 2, 3, 10, false), XBase);
    EXPECT_THROW(FillFromMedia(*media, store, 1, 1, 0, 10, false), XBase);
}

} // namespace
} // namespace quorvel
