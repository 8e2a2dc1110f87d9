#include "framework/CommandLine.h"

#include <gtest/gtest.h>

#include <set>

#include "../common/TempFolder.h"

namespace quorvel {
namespace {

using Names = std::vector<std::string>;

Names Parse(std::string_view line, const std::set<std::string>& files)
{
    return ParseCommandLine(line, [&](const std::string& path) { return files.count(path) > 0; });
}

TEST(CommandLine, ReadsQuotedAndBareNames)
{
    const std::set<std::string> files{"/loops/a.wav", "/loops/b c.aif", "/loops/d.aif"};
    EXPECT_EQ(Parse("  /loops/a.wav   \"/loops/b c.aif\"\t/loops/d.aif  ", files),
              (Names{"/loops/a.wav", "/loops/b c.aif", "/loops/d.aif"}));
    EXPECT_EQ(Parse("\"/loops/a.wav\"\"/loops/d.aif\"", files), (Names{"/loops/a.wav", "/loops/d.aif"}));
    EXPECT_TRUE(Parse("   ", files).empty());

    // Arguments joined into a line read back unchanged.
    const Names names{"/loops/b c.aif", "/loops/say \"hi\".wav"};
    EXPECT_EQ(Parse(JoinCommandLine(names), {names.begin(), names.end()}), names);
}

TEST(CommandLine, BareNamesTakeTheLongestExistingRunOfWords)
{
    const std::set<std::string> files{"/My Loops/funk", "/My Loops/funk break.wav", "/My Loops/x.wav"};
    EXPECT_EQ(Parse("/My Loops/funk break.wav /My Loops/x.wav", files),
              (Names{"/My Loops/funk break.wav", "/My Loops/x.wav"}));
    // The shorter name is still found when the longer run names nothing.
    EXPECT_EQ(Parse("/My Loops/funk breaks.wav", files), (Names{"/My Loops/funk"}));
}

TEST(CommandLine, SkipsMissingNamesAndReadsOn)
{
    const std::set<std::string> files{"/loops/a.wav"};
    EXPECT_EQ(Parse("\"/gone/x y.wav\" /loops/a.wav", files), (Names{"/loops/a.wav"}));
    EXPECT_EQ(Parse("nothing here /loops/a.wav", files), (Names{"/loops/a.wav"}));
    // An unterminated quote runs to the end of the line.
    EXPECT_EQ(Parse("\"/loops/a.wav", files), (Names{"/loops/a.wav"}));
}

TEST(CommandLine, OnlyRegularFilesCount)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "loop one.wav", {1, 2});
    std::filesystem::create_directory(folder / "loop");
    EXPECT_TRUE(IsExistingFile(folder / "loop one.wav"));
    EXPECT_FALSE(IsExistingFile(folder / "loop"));
    EXPECT_FALSE(IsExistingFile(folder / "missing.wav"));
    EXPECT_EQ(ParseCommandLine(folder / "loop one.wav", IsExistingFile), (Names{folder / "loop one.wav"}));
}

} // namespace
} // namespace quorvel
