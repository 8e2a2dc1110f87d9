#include <gtest/gtest.h>

#include <vector>

#include "document/BAT.h"

namespace quorvel {
namespace {

std::vector<uint8_t> Pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + seed + i / 251);
    return bytes;
}

// (bytes done, run length) of every run.
std::vector<std::pair<uint32_t, uint32_t>> Runs(BAT& store, uint32_t start, uint32_t count)
{
    std::vector<std::pair<uint32_t, uint32_t>> runs;
    store.ForEachRun(start, count, [&](uint32_t done, uint8_t*, uint32_t length) {
        runs.emplace_back(done, length);
        return true;
    });
    return runs;
}

TEST(BAT, PagesFollowTheSize)
{
    EXPECT_EQ(BAT(0).PageCount(), 0u);
    BAT oneOver(16385);
    EXPECT_EQ(oneOver.PageCount(), 2u);
    EXPECT_NE(oneOver.Page(1), nullptr);
    EXPECT_EQ(oneOver.Page(2), nullptr);
    EXPECT_TRUE(oneOver.GuardsIntact());
    EXPECT_THROW(BAT(BAT::kMaxBytes + 1), XOutOfMemory);
}

TEST(BAT, ForEachRunSplitsAtPageBoundaries)
{
    using Run = std::pair<uint32_t, uint32_t>;
    BAT store(4 * BAT::kPageBytes);
    EXPECT_EQ(Runs(store, 16383, 3), (std::vector<Run>{{0, 1}, {1, 2}}));
    // Tail of the first page, two whole pages, then the remainder.
    EXPECT_EQ(Runs(store, 100, 3 * BAT::kPageBytes),
              (std::vector<Run>{{0, 16284}, {16284, 16384}, {32668, 16384}, {49052, 100}}));
    EXPECT_TRUE(Runs(store, 5, 0).empty());

    int calls = 0;
    EXPECT_THROW(store.ForEachRun(0, store.Size(), [&](uint32_t, uint8_t*, uint32_t) { return ++calls < 2; }), XBase);
    EXPECT_EQ(calls, 2);
    EXPECT_THROW(Runs(store, store.Size() - 1, 2), XPosition);
    EXPECT_THROW(Runs(store, 0xFFFFFFF0u, 0x20), XPosition) << "must not wrap around";
}

TEST(BAT, CopiesAcrossPagesAndBetweenStores)
{
    BAT store(4 * BAT::kPageBytes);
    const auto bytes = Pattern(2 * BAT::kPageBytes + 5, 7);
    const auto size = static_cast<uint32_t>(bytes.size());
    store.CopyIn(BAT::kPageBytes - 3, size, bytes.data());
    std::vector<uint8_t> back(bytes.size());
    store.CopyOut(BAT::kPageBytes - 3, size, back.data());
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(store.ReadByte(BAT::kPageBytes - 4), 0) << "bytes before the copy stay zero";

    // A scratch-buffer piece and a remainder, at different offsets.
    BAT destination(3 * BAT::kPageBytes);
    store.CopyToStore(BAT::kPageBytes, 30000, destination, 1001);
    std::vector<uint8_t> copied(30000);
    destination.CopyOut(1001, 30000, copied.data());
    EXPECT_TRUE(std::equal(copied.begin(), copied.end(), bytes.begin() + 3));
    EXPECT_EQ(destination.ReadByte(1000), 0);
    EXPECT_EQ(destination.ReadByte(31001), 0);

    // Value i lives at byte 2i, in machine order.
    store.WriteSample(8192, -2);
    int16_t value;
    store.CopyOut(2 * 8192, 2, &value);
    EXPECT_EQ(value, -2);
}

TEST(BAT, SwapAllWordsSwapsEveryValueIncludingAPartialLastPage)
{
    const uint32_t values = BAT::kPageValues + 3;
    BAT store(values * 2);
    for (uint32_t i = 0; i < values; ++i)
        store.WriteSample(i, static_cast<int16_t>(0x0102 + i));
    store.SwapAllWords();
    for (uint32_t i : {0u, BAT::kPageValues - 1, values - 1}) {
        const auto v = static_cast<uint16_t>(0x0102 + i);
        EXPECT_EQ(static_cast<uint16_t>(store.ReadSample(i)), static_cast<uint16_t>((v << 8) | (v >> 8))) << i;
    }
    store.SwapAllWords();
    EXPECT_EQ(store.ReadSample(values - 1), static_cast<int16_t>(0x0102 + values - 1));
}

TEST(BAT, WriteToMediaTurnsMediaFailureIntoXBase)
{
    BAT store(BAT::kPageBytes + 8);
    const auto bytes = Pattern(store.Size(), 9);
    store.CopyIn(0, store.Size(), bytes.data());
    CMemoryMedia target(static_cast<int32_t>(store.Size()));
    store.WriteToMedia(0, store.Size(), target);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), target.Data()));

    CMemoryMedia tooSmall(100);
    try {
        store.WriteToMedia(0, store.Size(), tooSmall);
        ADD_FAILURE() << "a failing media must stop the write";
    } catch (const XBase& e) {
        EXPECT_STREQ(e.what(), "XBase") << "the media's own failure is not passed on";
    }
}

} // namespace
} // namespace quorvel
