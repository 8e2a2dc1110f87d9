#include <gtest/gtest.h>

#include <filesystem>

#include "S760TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class S760EmulatorMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-s760-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(S760EmulatorMemory, SamplesPatchesAndPartialsOutliveARestart)
{
    const std::vector<uint32_t> words = TestWords(16, 300, 9);
    const Bytes params = HighLow(SampleParams("KEPT", 300, 0));
    Bytes patch = HighLow(Name16("KEPT PATCH"));
    patch.resize(256, 0x03);
    Bytes partial = HighLow(Name16("KEPT PARTIAL"));
    partial.resize(256, 0x0C);
    {
        S760TestBench first({}, folder_.string());
        first.SendSample(7, words);
        ASSERT_TRUE(first.HandshakeWrite(SampleParamsAddress(7), params));
        ASSERT_TRUE(first.HandshakeWrite(PatchAddress(1), patch));
        ASSERT_TRUE(first.HandshakeWrite(PartialAddress(2), partial));
        first.SendSample(8, words);
        first.Send(DataSet(SampleParamsAddress(8), {0x07, 0x0F}));
        first.Settle();
    }
    for (const char* file : {"sample-007.blk", "sample-00007.sds", "patch-001.blk", "partial-002.blk"})
        EXPECT_TRUE(std::filesystem::exists(folder_ / file)) << file;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "sample-008.blk"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "sample-00008.sds"));

    S760TestBench second({}, folder_.string());
    EXPECT_EQ(second.FileList(5), (std::vector<SListEntry>{{5, 7, Name16("KEPT")}}));
    EXPECT_EQ(second.HandshakeRead(SampleParamsAddress(7), 96), params);
    EXPECT_EQ(second.HandshakeRead(PatchAddress(1), 256), patch);
    EXPECT_EQ(second.HandshakeRead(PartialAddress(2), 256), partial);
    const std::vector<uint32_t> back = second.ReceiveSample(7);
    ASSERT_EQ(back.size(), 4604u);
    EXPECT_EQ(std::vector<uint32_t>(back.begin(), back.begin() + 300), words);
}

TEST_F(S760EmulatorMemory, ABlockFileOfTheWrongSizeIsSkipped)
{
    {
        S760TestBench first({}, folder_.string());
        ASSERT_TRUE(first.HandshakeWrite(PatchAddress(0), HighLow(Name16("CUT"))));
    }
    const std::filesystem::path file = folder_ / "patch-000.blk";
    ASSERT_TRUE(std::filesystem::exists(file));
    std::filesystem::resize_file(file, 100);
    S760TestBench second({}, folder_.string());
    EXPECT_TRUE(second.FileList(3).empty());
}
