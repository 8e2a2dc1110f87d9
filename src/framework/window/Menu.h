#pragma once
// Menus built from menu scripts. Items carry command numbers; choosing one
// calls the command handler. Just before a menu shows, its updater runs
// (to insert or remove variable items) and then every item with a command
// asks the status callback whether it is enabled and checked.
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/MenuScript.h"

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QWidget;

namespace quorvel {

class CTextResources;

struct SCommandStatus {
    bool enabled = false;
    bool checked = false;
};

using CommandHandler = std::function<void(uint32_t command)>;
using CommandStatusQuery = std::function<SCommandStatus(uint32_t command)>;

// The Qt shortcut text of an accelerator character ("Ctrl+O").
std::string AcceleratorShortcut(char accelerator);

class CMenu : public QObject {
    Q_OBJECT
public:
    // The menu `reference` (kind 6) of `texts`, e.g. 600128001 for File.
    CMenu(CTextResources& texts, uint32_t reference, QWidget* parent = nullptr);
    explicit CMenu(const MenuRecord& record, QWidget* parent = nullptr);
    ~CMenu() override;

    QMenu* Menu() const { return menu_; }
    const std::string& Title() const { return title_; }

    void SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }
    void SetCommandStatus(CommandStatusQuery status) { status_ = std::move(status); }
    // Runs before the status is asked, each time the menu is about to show.
    void SetUpdater(std::function<void(CMenu&)> updater) { updater_ = std::move(updater); }

    // Items in order, separators included.
    int ItemCount() const;
    // The action of the first item with `command`; nullptr when none.
    QAction* FindCommand(uint32_t command) const;
    // Inserts `item` before position `index` (at the end when past it).
    QAction* InsertItem(int index, const MenuItemRecord& item);
    QAction* AppendItem(const MenuItemRecord& item) { return InsertItem(ItemCount(), item); }
    // Removes every item whose command lies in [first, last].
    void RemoveCommands(uint32_t first, uint32_t last);
    // Removes the item at `index` (separators too).
    void RemoveItemAt(int index);
    int IndexOfCommand(uint32_t command) const;

    // What happens before the menu shows; public so that tests and keyboard
    // shortcuts (which bypass the menu) can bring the state up to date.
    void Update();

private:
    void Build(const MenuRecord& record);
    void Choose(QAction* action);

    QMenu* menu_;
    std::string title_;
    CommandHandler handler_;
    CommandStatusQuery status_;
    std::function<void(CMenu&)> updater_;
};

// The frame window's menu bar: menus in order, one handler and one status
// query shared by all of them.
class CMenuBar {
public:
    CMenuBar();
    ~CMenuBar();
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    // Takes the menu; the handler and status of the bar are given to it.
    CMenu& Add(std::unique_ptr<CMenu> menu);
    CMenu& Add(CTextResources& texts, uint32_t reference);

    void SetCommandHandler(CommandHandler handler);
    void SetCommandStatus(CommandStatusQuery status);

    size_t MenuCount() const { return menus_.size(); }
    CMenu& MenuAt(size_t index) { return *menus_[index]; }
    // The menu holding `command`, nullptr when none does.
    CMenu* MenuWithCommand(uint32_t command) const;
    // Brings every menu's state up to date (before a keyboard shortcut acts).
    void UpdateAll();

    // Puts the menus into `bar` (the frame window's); the menus stay owned here.
    // From then on the menus' accelerators win over a text field of that
    // window that would take the key itself (Ctrl+A in the Bars field).
    void AttachTo(QMenuBar& bar);

    // Whether `keys` is the accelerator of one of the menus' items.
    bool IsAccelerator(const QKeySequence& keys) const;

private:
    class AcceleratorPriority;

    std::vector<std::unique_ptr<CMenu>> menus_;
    std::unique_ptr<AcceleratorPriority> priority_;
    CommandHandler handler_;
    CommandStatusQuery status_;
};

} // namespace quorvel
