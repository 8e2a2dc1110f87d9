#include "framework/ResourceParser.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

std::string EntryOf(const CStringTable& table, uint64_t number)
{
    const std::string* text = table.Entry(number);
    return text ? *text : "<empty>";
}

TEST(ResourceParser, CommentsAndStrayBraceGroupsStoreNothing)
{
    const CStringTable table = ParseResourceText("{{ Portable menus\n}\n"
                                                 "12{OK}  {{ Mac: Apple-menu item. }\n"
                                                 "{no number, so a comment}\n"
                                                 "13 {Yes}\n"
                                                 "14{No}{a second group after an entry}\n"
                                                 "{{ 15{inside a comment} }");
    EXPECT_EQ(EntryOf(table, 12), "OK");
    EXPECT_EQ(EntryOf(table, 13), "Yes"); // the number stays in force across blanks
    EXPECT_EQ(EntryOf(table, 14), "No");
    EXPECT_EQ(EntryOf(table, 15), "<empty>");
    EXPECT_EQ(table.DefinedCount(), 3u);
}

TEST(ResourceParser, FirstDefinitionOfANumberWins)
{
    const CStringTable table = ParseResourceText("5{first}\n5{second}\n007{seven}");
    EXPECT_EQ(EntryOf(table, 5), "first");
    EXPECT_EQ(EntryOf(table, 7), "seven");
}

TEST(ResourceParser, TextsSpanLinesAndKeepOnlyTheirEscapes)
{
    const CStringTable table = ParseResourceText("1{one\n\ttwo\r\n three}\n"
                                                 "2{line\\rbreak}\n"
                                                 "3{&Quit\\tCtrl+Q}\n"
                                                 "4{dropped\\x pair, kept \\}brace}\n"
                                                 "5{\n\tstarts on the next line}\n"
                                                 "6{}7{after an empty entry}");
    EXPECT_EQ(EntryOf(table, 1), "onetwo three");
    EXPECT_EQ(EntryOf(table, 2), "line\rbreak");
    EXPECT_EQ(EntryOf(table, 3), "&Quit\tCtrl+Q");
    EXPECT_EQ(EntryOf(table, 4), "dropped pair, kept brace"); // "\}" does not close the text
    EXPECT_EQ(EntryOf(table, 5), "starts on the next line");
    EXPECT_EQ(EntryOf(table, 6), "");
    EXPECT_EQ(EntryOf(table, 7), "after an empty entry");
}

TEST(ResourceParser, NumbersOutsideTheTableAreSkippedSafely)
{
    const CStringTable table = ParseResourceText("1000{one past the end}\n"
                                                 "4294967296{wraps to 0 in 32 bits}\n"
                                                 "123456789012345678901234567890{far too long}\n"
                                                 "999{last}");
    EXPECT_EQ(EntryOf(table, 999), "last");
    EXPECT_EQ(EntryOf(table, 0), "<empty>");
    EXPECT_EQ(EntryOf(table, 1000), "<empty>");
    EXPECT_EQ(table.DefinedCount(), 1u);
}

TEST(ResourceParser, LongAndUnterminatedTexts)
{
    const std::string longText(kMaxEntryText + 5, 'x');
    const CStringTable table = ParseResourceText("1{" + longText + "}2{after}3{never closed");
    ASSERT_NE(table.Entry(1), nullptr);
    EXPECT_EQ(table.Entry(1)->size(), kMaxEntryText);
    EXPECT_EQ(EntryOf(table, 2), "after");
    EXPECT_EQ(EntryOf(table, 3), "<empty>");
}

} // namespace
} // namespace quorvel
