#include <gtest/gtest.h>

#include <filesystem>

#include "EnsoniqTestBench.h"

using namespace quorvel;
using namespace quorvel::test;

TEST(EnsoniqEmulatorMemory, InstrumentsOutliveARestartAndABrokenFileIsIgnored)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvel-ensoniq-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    const std::vector<uint16_t> words = Pattern(500, 7), layer = Pattern(107, 8);
    {
        EnsoniqTestBench first("3020", {}, folder.string());
        first.MakeInstrument(3);
        EXPECT_EQ(first.Ask(Address(0x16, 3, 1, 1)), Status(0));
        EXPECT_EQ(first.Put(Range(0x0F, 3, 0, 1, 0, 500), words), std::make_pair(Status(0), Status(0)));
        EXPECT_EQ(first.Put(Address(0x0D, 3, 1, 1), layer), std::make_pair(Status(0), Status(0)));
    }
    {
        EnsoniqTestBench second("3020", {}, folder.string());
        EXPECT_EQ(second.Get(Range(0x06, 3, 0, 1, 0, 500)), words);
        EXPECT_EQ(second.Get(Address(0x04, 3, 1, 1)), layer);
        EXPECT_EQ(second.Get(Address(0x05, 3, 1, 2)).size(), 139u);
        EXPECT_EQ(second.Ask(Address(0x1A, 3, 0, 1)), Status(0));
    }
    {
        EnsoniqTestBench third("3020", {}, folder.string());
        EXPECT_EQ(third.Ask(Address(0x05, 3, 0, 1)), Status(8));
    }
    const std::filesystem::path file = folder / CEnsoniqMemory::kFileName;
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 1);
    EXPECT_FALSE(CEnsoniqMemory(folder.string()).Instruments()[3].has_value());
    std::filesystem::remove_all(folder);
}
