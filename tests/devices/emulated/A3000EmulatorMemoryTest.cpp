#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "A3000TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class A3000EmulatorMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-a3000-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(A3000EmulatorMemory, SamplesAndBanksOutliveARestart)
{
    const Bytes wave = WavePayload(2500, 5);
    const Bytes parameters(336, 0x5A);
    const Bytes bank(64 + 21, 0x11);
    {
        CA3000TestBench first("6000", "", folder_.string());
        first.Put(YamahaDump("WD", "Loop 1", wave));
        first.Put(YamahaDump("SP", "Loop 1", parameters));
        first.Put(YamahaDump("SB", "Loops", bank));
    }
    EXPECT_TRUE(std::filesystem::exists(folder_ / "6000" / "memory.a3000"));
    CA3000TestBench second("6000", "", folder_.string());
    Bytes list = ObjectEntry(16, "Loop 1");
    const Bytes banks = ObjectEntry(17, "Loops");
    list.insert(list.end(), banks.begin(), banks.end());
    EXPECT_EQ(second.ObjectList(), list);
    EXPECT_EQ(second.Fetch("WD", "Loop 1").payload, wave);
    EXPECT_EQ(second.Fetch("SP", "Loop 1").payload, parameters);
    EXPECT_EQ(second.Fetch("SB", "Loops").payload, bank);
}

TEST_F(A3000EmulatorMemory, AFileThatIsNotWholeIsIgnored)
{
    {
        CA3000TestBench first("6000", "", folder_.string());
        first.Put(YamahaDump("WD", "Loop 1", WavePayload(10)));
    }
    const std::filesystem::path file = folder_ / "6000" / "memory.a3000";
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 1);
    CA3000TestBench second("6000", "", folder_.string());
    EXPECT_TRUE(second.ObjectList().empty());
    // And it is written anew with the next change.
    second.Put(YamahaDump("WD", "Loop 2", WavePayload(10)));
    CA3000TestBench third("6000", "", folder_.string());
    EXPECT_EQ(third.ObjectList(), ObjectEntry(16, "Loop 2"));
}
