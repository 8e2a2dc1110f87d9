#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>

#include "../../common/TempFolder.h"
#include "devices/emulated/ByteImageReader.h"
#include "devices/emulated/EmulatorFiles.h"
#include "devices/emulated/EmulatorMemoryFolder.h"

using namespace quorvel;
using quorvel::test::TempFolder;

TEST(EmulatorMemoryFiles, WrittenFilesReadBackAndTheFolderIsMade)
{
    const TempFolder temp;
    const std::string folder = temp / "a/b";
    WriteEmulatorFile(folder, "memory.bin", {1, 2, 3});
    EXPECT_EQ(ReadEmulatorFile(folder + "/memory.bin"), (std::vector<uint8_t>{1, 2, 3}));
    // Replaced whole, not appended to.
    WriteEmulatorFile(folder, "memory.bin", {9});
    EXPECT_EQ(ReadEmulatorFile(folder + "/memory.bin"), (std::vector<uint8_t>{9}));
    WriteEmulatorFile(folder, "empty.bin", {});
    EXPECT_EQ(ReadEmulatorFile(folder + "/empty.bin"), std::vector<uint8_t>{});
    EXPECT_EQ(ReadEmulatorFile(folder + "/missing.bin"), std::nullopt);
}

TEST(EmulatorMemoryFiles, ReaderTakesNumbersAndBreaksPastTheEnd)
{
    const std::vector<uint8_t> bytes = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAA};
    SByteImageReader in{bytes};
    EXPECT_EQ(in.LE(2), 0x1234u);
    EXPECT_EQ(in.LE(4), 0x12345678u);
    EXPECT_FALSE(in.Whole());
    EXPECT_EQ(in.Take(1), std::vector<uint8_t>{0xAA});
    EXPECT_TRUE(in.Whole());
    // Past the end: nothing, and the reader stays broken.
    EXPECT_EQ(in.LE(1), 0u);
    EXPECT_TRUE(in.broken);
    EXPECT_FALSE(in.Whole());

    SByteImageReader huge{bytes};
    EXPECT_EQ(huge.Take(static_cast<size_t>(-1)), std::vector<uint8_t>{});
    EXPECT_TRUE(huge.broken);
    EXPECT_EQ(huge.LE(1), 0u) << "a broken reader reads nothing, even what would fit";
}

TEST(EmulatorMemoryFiles, MemoryFolderFallsBackToMemoryOnly)
{
    SEmulatorSettings settings;
    EXPECT_EQ(MemoryFolder(settings, "sds"), "");
    settings.folder = "/mem";
    EXPECT_EQ(MemoryFolder(settings, "sds"), "/mem/sds");

    std::ostringstream warnings;
    std::vector<std::string> tried;
    auto make = [&](const std::string& folder) {
        tried.push_back(folder);
        if (!folder.empty())
            throw std::runtime_error("unreadable");
        return std::make_unique<int>(7);
    };
    const std::unique_ptr<int> made = WithMemoryFolder("Emulated X", "/mem/x", warnings, make);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, 7);
    EXPECT_EQ(tried, (std::vector<std::string>{"/mem/x", ""}));
    EXPECT_EQ(warnings.str(), "Emulated X: cannot use /mem/x (unreadable); its memory lasts as long as the process\n");

    std::ostringstream quiet;
    tried.clear();
    EXPECT_TRUE(WithMemoryFolder("Emulated X", "", quiet, make));
    EXPECT_EQ(tried, std::vector<std::string>{""});
    EXPECT_EQ(quiet.str(), "");
}
