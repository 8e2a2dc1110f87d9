#include "framework/TextResources.h"

#include <gtest/gtest.h>

#include <array>

#include "MapResourceSource.h"
#include "framework/ResourceReference.h"

namespace quorvel {
namespace {

TEST(ResourceReference, PacksKindTableAndEntry)
{
    EXPECT_EQ(StringReference(129, 69), 400129069u);
    EXPECT_EQ(AlertReference(129, 50), 500129050u);
    EXPECT_EQ(MenuReference(128, 1), 600128001u);
    EXPECT_EQ(StringReference(kFrameworkTable, 10), 401000010u);
    EXPECT_EQ(ReferenceTable(401000010u), 1000u);
    EXPECT_EQ(ReferenceEntry(401000010u), 10u);
    EXPECT_EQ(ReferenceType(600128001u), FourCC("SMNU"));
    EXPECT_FALSE(ReferenceType(300128001u).has_value());
}

class TextResourcesTest : public ::testing::Test {
protected:
    TextResourcesTest()
    {
        source.Add("SSTR", 129, "1{Cancelled!}12{A text of exactly thirty-one chars}");
        source.Add("SALR", 129, "1{[NOTE]An alert}");
        source.Add("SALR", 5, "7{[NOTE]" + std::string(300, 'm') + "[OK]}");
        source.Add("SMNU", 128, "1{File;Open...}");
    }
    test::MapResourceSource source;
    CTextResources resources{source};
};

TEST_F(TextResourcesTest, EachTableIsParsedOnceAndKindsAreSeparate)
{
    EXPECT_EQ(resources.Text(StringReference(129, 1)), "Cancelled!");
    EXPECT_EQ(resources.Text(StringReference(129, 12)), "A text of exactly thirty-one chars");
    EXPECT_EQ(source.lookups, 1);
    EXPECT_EQ(resources.Text(AlertReference(129, 1)), "[NOTE]An alert");
    EXPECT_EQ(resources.MenuScript(MenuReference(128, 1)), "File;Open...");
    EXPECT_EQ(resources.LoadedTableCount(), 3u);
    EXPECT_EQ(source.lookups, 3);
}

TEST_F(TextResourcesTest, WhatIsNotThereReadsAsEmpty)
{
    EXPECT_EQ(resources.Text(StringReference(129, 2)), "");   // undefined entry
    EXPECT_EQ(resources.Text(StringReference(131, 0)), "");   // missing table
    EXPECT_EQ(resources.Text(StringReference(131, 1)), "");   // ... asked for only once
    EXPECT_EQ(resources.Text(300129001u), "");               // no such kind
    EXPECT_EQ(resources.Text(StringReference(70000, 1)), ""); // table beyond 16 bits
    EXPECT_EQ(source.lookups, 2);
}

TEST_F(TextResourcesTest, CopiesNeverOverrunTheCallersBuffer)
{
    // Room for 16 characters and the terminator, followed by a guard byte.
    std::array<char, 18> memory;
    memory.fill('#');
    resources.CopyText(StringReference(129, 12), std::span(memory).first(17));
    EXPECT_EQ(std::string(memory.data()), "A text of exactl");
    EXPECT_EQ(memory[16], '\0');
    EXPECT_EQ(memory[17], '#');

    std::array<char, 8> small;
    small.fill('#');
    resources.CopyText(StringReference(129, 2), small);
    EXPECT_EQ(small[0], '\0');
    resources.CopyText(StringReference(129, 12), std::span<char>()); // nothing to write into

    EXPECT_EQ(resources.Text(StringReference(129, 12), 16).size(), 16u);
    EXPECT_EQ(resources.AlertScript(AlertReference(5, 7)).size(), kMaxAlertScript);
}

} // namespace
} // namespace quorvel
