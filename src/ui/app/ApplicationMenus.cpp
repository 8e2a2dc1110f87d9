#include "ui/app/ApplicationMenus.h"

#include <QAction>
#include <QMenu>

#include <functional>

#include "framework/window/Menu.h"
#include "ui/app/ApplicationMenuItems.h"

namespace quorvel {

namespace {

constexpr uint32_t kCmdQuit = 1008;
constexpr uint32_t kCmdSilenceSelected = 1205;

void RemoveSeparatorNamed(CMenu& menu, const QString& name)
{
    const QList<QAction*> actions = menu.Menu()->actions();
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->isSeparator() && actions[i]->objectName() == name) {
            menu.RemoveItemAt(i);
            return;
        }
}

QAction* InsertSeparatorNamed(CMenu& menu, int index, const QString& name)
{
    MenuItemRecord separator;
    separator.kind = MenuItemKind::Separator;
    QAction* action = menu.InsertItem(index, separator);
    action->setObjectName(name);
    return action;
}

// Replaces the block of numbered items: removes the old ones and their
// separator, then inserts `items` where `position` points afterwards (-1:
// at the end).
void ReplaceBlock(CMenu& menu, uint32_t firstCommand, size_t maxItems, const QString& separatorName,
                  const std::vector<MenuItemRecord>& items, const std::function<int(const CMenu&)>& position,
                  bool separatorFirst)
{
    menu.RemoveCommands(firstCommand, firstCommand + static_cast<uint32_t>(maxItems) - 1);
    RemoveSeparatorNamed(menu, separatorName);
    if (items.empty())
        return;
    int index = position(menu);
    if (index < 0)
        index = menu.ItemCount();
    if (separatorFirst)
        InsertSeparatorNamed(menu, index++, separatorName);
    for (const MenuItemRecord& item : items)
        menu.InsertItem(index++, item);
    if (!separatorFirst)
        InsertSeparatorNamed(menu, index, separatorName);
}

} // namespace

void ShowRecentDocuments(CMenu& fileMenu, const std::vector<std::string>& paths)
{
    ReplaceBlock(fileMenu, kCmdOpenRecentFirst, kMaxNumberedMenuItems, QStringLiteral("recent"),
                 RecentDocumentItems(paths), [](const CMenu& menu) { return menu.IndexOfCommand(kCmdQuit); }, false);
}

void ShowInstalledSamplers(CMenu& samplerMenu, const std::vector<std::string>& names)
{
    const auto afterSilenceSelected = [](const CMenu& menu) {
        const int silence = menu.IndexOfCommand(kCmdSilenceSelected);
        return silence < 0 ? -1 : silence + 1;
    };
    ReplaceBlock(samplerMenu, kCmdChooseSamplerFirst, kMaxNumberedMenuItems, QStringLiteral("samplers"),
                 SamplerItems(names), afterSilenceSelected, false);
}

void ShowWindowList(CMenu& windowsMenu, const std::vector<std::string>& titles)
{
    ReplaceBlock(windowsMenu, kCmdShowWindowFirst, kMaxListedWindows, QStringLiteral("windows"),
                 WindowListItems(titles), [](const CMenu&) { return -1; }, true);
}

} // namespace quorvel
