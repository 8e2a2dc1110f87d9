#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AKAITestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class AKAIEmulatorMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-akai-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(AKAIEmulatorMemory, SamplesAndProgramsOutliveARestart)
{
    const std::vector<uint32_t> words = TestWords(16, 90, 4);
    const Bytes header = SampleBlock(192, "LOOP 1", 90, 44100);
    {
        AKAITestBench first("4150", {}, folder_.string());
        first.SendSample(0, header, words);
        EXPECT_EQ(first.Ask(NewData(0x07, 0, ProgramBlock(192, "KEEP", 2))), Reply(0));
        EXPECT_EQ(first.Ask(NewData(0x09, 0, KeygroupBlock(192, 36, 36, "LOOP 1"), 0, 1)), Reply(0));
    }
    EXPECT_TRUE(std::filesystem::exists(folder_ / "memory.akai"));
    AKAITestBench second("4150", {}, folder_.string());
    EXPECT_EQ(second.Names(0x04), std::vector<Bytes>{NameCodes("LOOP 1")});
    EXPECT_EQ(second.Ask(Numbered(0x0A, 0)), NewData(0x0B, 0, header));
    EXPECT_EQ(second.ReceiveDump(Request(0)), words);
    EXPECT_EQ(second.Names(0x02), std::vector<Bytes>{NameCodes("KEEP")});
    EXPECT_EQ(second.Ask(AKAIMessage(0x08, Concat({Number14(0), {1}}))),
              NewData(0x09, 0, KeygroupBlock(192, 36, 36, "LOOP 1"), 0, 1));
    // A delete is kept too.
    EXPECT_EQ(second.Ask(Numbered(0x14, 0)), Reply(0));
    AKAITestBench third("4150", {}, folder_.string());
    EXPECT_TRUE(third.Names(0x04).empty());
    EXPECT_EQ(third.Names(0x02).size(), 1u);
}

TEST_F(AKAIEmulatorMemory, AFileThatDoesNotFitIsIgnored)
{
    {
        AKAITestBench first("4000", {}, folder_.string());
        first.SendSample(0, SampleBlock(150, "OLD", 40, 44100), TestWords(16, 40));
    }
    // The 150-byte memory is not a 192-byte sampler's.
    {
        CAKAIMemory other(192, folder_.string());
        EXPECT_TRUE(other.Samples().empty());
    }
    // A file cut short is not read at all.
    const std::filesystem::path file = folder_ / "memory.akai";
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 1);
    AKAITestBench cut("4000", {}, folder_.string());
    EXPECT_TRUE(cut.Names(0x04).empty());
}
