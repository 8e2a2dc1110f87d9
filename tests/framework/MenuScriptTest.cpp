#include "framework/MenuScript.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(MenuScript, ItemFieldsAndLabel)
{
    const MenuRecord menu = ParseMenuScript("File~F;Open...#O=1000?100000~O");
    EXPECT_EQ(menu.title, "File");
    EXPECT_EQ(menu.titleMnemonic, 'F');
    ASSERT_EQ(menu.items.size(), 1u);
    const MenuItemRecord& open = menu.items[0];
    EXPECT_EQ(open.kind, MenuItemKind::Item);
    EXPECT_EQ(open.text, "Open...");
    EXPECT_EQ(open.accelerator, 'O');
    EXPECT_EQ(open.command, 1000u);
    EXPECT_EQ(open.help, 100000u);
    EXPECT_EQ(open.mnemonic, 'O');
    EXPECT_TRUE(open.enabled);
    EXPECT_FALSE(open.checked);
    EXPECT_EQ(MenuItemLabel(open), "&Open...\tCtrl+O");
    EXPECT_EQ(MarkMnemonic("Save As...", 'A'), "Save &As...");
    EXPECT_EQ(MarkMnemonic("Save as...", 'A'), "S&ave as...");
}

TEST(MenuScript, SeparatorsBlanksFieldOrderAndEmptyElements)
{
    const MenuRecord menu = ParseMenuScript("Edit;  Select All#a=1102;-;;Invert Selection~s?101030=1103; Zoom#=;");
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[0].text, "Select All");
    EXPECT_EQ(menu.items[0].accelerator, 'A');
    EXPECT_EQ(menu.items[0].command, 1102u);
    EXPECT_EQ(menu.items[0].mnemonic, 0);
    EXPECT_EQ(menu.items[1].kind, MenuItemKind::Separator);
    EXPECT_EQ(menu.items[2].command, 1103u);
    EXPECT_EQ(menu.items[2].help, 101030u);
    EXPECT_EQ(menu.items[2].mnemonic, 's');
    EXPECT_EQ(MenuItemLabel(menu.items[2]), "Invert &Selection");
    EXPECT_EQ(menu.items[3].accelerator, '=');
    EXPECT_EQ(menu.items[3].command, 0u);
}

TEST(MenuScript, PopupsAndLimits)
{
    const MenuRecord beats = ParseMenuScript("Beats;0;1;2;3;4;5;6;7");
    EXPECT_EQ(beats.title, "Beats");
    ASSERT_EQ(beats.items.size(), 8u);
    EXPECT_EQ(beats.items[7].text, "7");
    EXPECT_EQ(beats.items[7].command, 0u);

    const MenuRecord odd = ParseMenuScript("T;" + std::string(80, 'x') + "=4294967296;Rock & Roll~z");
    EXPECT_EQ(odd.items[0].text.size(), kMaxMenuItemText);
    EXPECT_EQ(odd.items[0].command, 0u); // does not fit in 32 bits
    EXPECT_EQ(MenuItemLabel(odd.items[1]), "Rock && Roll");
}

} // namespace
} // namespace quorvel
