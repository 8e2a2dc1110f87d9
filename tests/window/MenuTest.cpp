#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "framework/EmbeddedResources.h"
#include "framework/window/Menu.h"

namespace quorvel {
namespace {

constexpr uint32_t kFileMenu = 600128001;
constexpr uint32_t kWindowsMenu = 600128007;

TEST(Menu, BuildsTheFileMenuWithMnemonicsAndShortcuts)
{
    CMenu file(BuiltInTextResources(), kFileMenu);
    EXPECT_EQ(file.Menu()->title(), "&File");
    ASSERT_EQ(file.ItemCount(), 12);
    EXPECT_TRUE(file.Menu()->actions().at(4)->isSeparator());

    QAction* open = file.FindCommand(1000);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), "&Open...");
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));

    QAction* exportQlx = file.FindCommand(1007);
    ASSERT_NE(exportQlx, nullptr);
    EXPECT_EQ(exportQlx->text(), "Export Quorvel! QL&X File...");
    EXPECT_EQ(exportQlx->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    // The instrument exports beside it, out of the recent documents' range.
    ASSERT_NE(file.FindCommand(1600), nullptr);
    EXPECT_EQ(file.FindCommand(1600)->text(), "Export SF&Z Instrument...");
    ASSERT_NE(file.FindCommand(1601), nullptr);
    EXPECT_EQ(file.FindCommand(1601)->text(), "Export &Hydrogen Drum Kit...");

    QAction* saveAs = file.FindCommand(1003);
    ASSERT_NE(saveAs, nullptr);
    EXPECT_EQ(saveAs->text(), "Save &As...");
    EXPECT_TRUE(saveAs->shortcut().isEmpty());
}

TEST(Menu, StatusIsAskedBeforeShowingAndAgainBeforeActing)
{
    std::vector<uint32_t> handled;
    bool saveEnabled = false;
    CMenuBar bar;
    bar.SetCommandHandler([&handled](uint32_t command) { handled.push_back(command); });
    bar.SetCommandStatus([&saveEnabled](uint32_t command) {
        return SCommandStatus{command != 1002 || saveEnabled, command == 1000};
    });
    CMenu& file = bar.Add(BuiltInTextResources(), kFileMenu);
    bar.Add(BuiltInTextResources(), kWindowsMenu);
    QMenuBar qtBar;
    bar.AttachTo(qtBar);
    ASSERT_EQ(qtBar.actions().size(), 2);
    EXPECT_EQ(qtBar.actions().at(1)->text(), "&Windows");
    EXPECT_EQ(bar.MenuWithCommand(1501), &bar.MenuAt(1));

    emit file.Menu()->aboutToShow();
    EXPECT_FALSE(file.FindCommand(1002)->isEnabled());
    EXPECT_TRUE(file.FindCommand(1001)->isEnabled());
    EXPECT_TRUE(file.FindCommand(1000)->isChecked());

    // After the menu closed, a shortcut can trigger the item, but a
    // disabled command still does nothing.
    emit file.Menu()->aboutToHide();
    file.FindCommand(1002)->trigger();
    EXPECT_TRUE(handled.empty());
    saveEnabled = true;
    file.FindCommand(1002)->trigger();
    EXPECT_EQ(handled, std::vector<uint32_t>{1002});
}

TEST(Menu, VariableItemsComeAndGo)
{
    CMenu file(BuiltInTextResources(), kFileMenu);
    file.SetUpdater([](CMenu& menu) {
        menu.RemoveCommands(1010, 1098);
        const int at = menu.IndexOfCommand(1008);
        for (uint32_t i = 0; i < 2; ++i) {
            MenuItemRecord recent;
            recent.text = std::to_string(i + 1) + " loop.aif";
            recent.command = 1010 + i;
            menu.InsertItem(at + static_cast<int>(i), recent);
        }
    });
    file.Update();
    file.Update();
    EXPECT_EQ(file.ItemCount(), 14);
    EXPECT_EQ(file.IndexOfCommand(1011), 12);
    EXPECT_EQ(file.IndexOfCommand(1008), 13);
    file.RemoveCommands(1010, 1098);
    EXPECT_EQ(file.ItemCount(), 12);
    EXPECT_EQ(file.FindCommand(1010), nullptr);
}

TEST(Menu, ShortcutsWorkInTheWindowThatHoldsTheBar)
{
    // The menus are not children of the bar, so their items' shortcuts
    // must be known to the window the bar belongs to.
    QMainWindow window;
    CMenuBar bar;
    bar.Add(BuiltInTextResources(), kFileMenu);
    std::vector<uint32_t> chosen;
    bar.SetCommandHandler([&chosen](uint32_t command) { chosen.push_back(command); });
    bar.SetCommandStatus([](uint32_t) { return SCommandStatus{true, false}; });
    bar.AttachTo(*window.menuBar());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(chosen, (std::vector<uint32_t>{1000, 1007}));
}

} // namespace
} // namespace quorvel
