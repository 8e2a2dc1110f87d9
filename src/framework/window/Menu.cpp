#include "framework/window/Menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "framework/TextResources.h"

namespace quorvel {

namespace {

// The command number travels in the action's data.
uint32_t CommandOf(const QAction* action) { return action->data().toUInt(); }

} // namespace

std::string AcceleratorShortcut(char accelerator)
{
    return accelerator ? std::string("Ctrl+") + accelerator : std::string();
}

CMenu::CMenu(CTextResources& texts, uint32_t reference, QWidget* parent)
    : CMenu(ParseMenuScript(texts.MenuScript(reference)), parent)
{
}

CMenu::CMenu(const MenuRecord& record, QWidget* parent) : menu_(new QMenu(parent)), title_(record.title)
{
    Build(record);
}

CMenu::~CMenu()
{
    // A menu given to a menu bar is not parented to it, so it is ours.
    if (!menu_->parent())
        delete menu_;
}

void CMenu::Build(const MenuRecord& record)
{
    menu_->setTitle(QString::fromStdString(MarkMnemonic(record.title, record.titleMnemonic)));
    for (const MenuItemRecord& item : record.items)
        AppendItem(item);
    connect(menu_, &QMenu::aboutToShow, this, &CMenu::Update);
    // Between showings every item stays enabled so that its shortcut can
    // fire; Choose asks the status again before acting.
    connect(menu_, &QMenu::aboutToHide, this, [this] {
        for (QAction* action : menu_->actions())
            action->setEnabled(true);
    });
}

int CMenu::ItemCount() const { return static_cast<int>(menu_->actions().size()); }

QAction* CMenu::FindCommand(uint32_t command) const
{
    const int index = IndexOfCommand(command);
    return index < 0 ? nullptr : menu_->actions().at(index);
}

int CMenu::IndexOfCommand(uint32_t command) const
{
    const QList<QAction*> actions = menu_->actions();
    for (int i = 0; i < actions.size(); ++i) {
        if (!actions[i]->isSeparator() && command != 0 && CommandOf(actions[i]) == command)
            return i;
    }
    return -1;
}

QAction* CMenu::InsertItem(int index, const MenuItemRecord& item)
{
    const QList<QAction*> actions = menu_->actions();
    QAction* before = index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
    auto* action = new QAction(menu_);
    if (item.kind == MenuItemKind::Separator) {
        action->setSeparator(true);
    } else {
        // The accelerator goes into the shortcut, which Qt shows after a tab
        // itself; putting "\tCtrl+O" into the text as well would show it twice.
        action->setText(QString::fromStdString(MarkMnemonic(item.text, item.mnemonic)));
        if (item.accelerator)
            action->setShortcut(QKeySequence(QString::fromStdString(AcceleratorShortcut(item.accelerator))));
        action->setData(QVariant::fromValue(item.command));
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        connect(action, &QAction::triggered, this, [this, action] { Choose(action); });
    }
    menu_->insertAction(before, action);
    return action;
}

void CMenu::RemoveCommands(uint32_t first, uint32_t last)
{
    for (QAction* action : menu_->actions()) {
        const uint32_t command = CommandOf(action);
        if (!action->isSeparator() && command >= first && command <= last) {
            menu_->removeAction(action);
            delete action;
        }
    }
}

void CMenu::RemoveItemAt(int index)
{
    const QList<QAction*> actions = menu_->actions();
    if (index < 0 || index >= actions.size())
        return;
    menu_->removeAction(actions[index]);
    delete actions[index];
}

void CMenu::Update()
{
    if (updater_)
        updater_(*this);
    if (!status_)
        return;
    for (QAction* action : menu_->actions()) {
        const uint32_t command = CommandOf(action);
        if (action->isSeparator() || command == 0)
            continue;
        const SCommandStatus state = status_(command);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked || action->isCheckable());
        action->setChecked(state.checked);
    }
}

void CMenu::Choose(QAction* action)
{
    const uint32_t command = CommandOf(action);
    if (command == 0 || !handler_)
        return;
    // A shortcut reaches here without the menu having shown.
    if (status_ && !status_(command).enabled)
        return;
    handler_(command);
}

// Before Qt looks a key up among the shortcuts, the focus widget may claim
// it (a text field claims Ctrl+A, Ctrl+Z and the like). Accelerators of the
// menus act wherever the focus is in the frame window, so that claim is
// refused for them.
class CMenuBar::AcceleratorPriority final : public QObject {
public:
    AcceleratorPriority(const CMenuBar& menus, QWidget& window) : menus_(menus), window_(window)
    {
        qApp->installEventFilter(this);
    }
    ~AcceleratorPriority() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != &window_)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!menus_.IsAccelerator(QKeySequence(key->keyCombination())))
            return false;
        key->ignore();
        return true;
    }

private:
    const CMenuBar& menus_;
    QWidget& window_;
};

CMenuBar::CMenuBar() = default;
CMenuBar::~CMenuBar() = default;

CMenu& CMenuBar::Add(std::unique_ptr<CMenu> menu)
{
    menu->SetCommandHandler(handler_);
    menu->SetCommandStatus(status_);
    menus_.push_back(std::move(menu));
    return *menus_.back();
}

CMenu& CMenuBar::Add(CTextResources& texts, uint32_t reference)
{
    return Add(std::make_unique<CMenu>(texts, reference));
}

void CMenuBar::SetCommandHandler(CommandHandler handler)
{
    handler_ = std::move(handler);
    for (auto& menu : menus_)
        menu->SetCommandHandler(handler_);
}

void CMenuBar::SetCommandStatus(CommandStatusQuery status)
{
    status_ = std::move(status);
    for (auto& menu : menus_)
        menu->SetCommandStatus(status_);
}

CMenu* CMenuBar::MenuWithCommand(uint32_t command) const
{
    for (const auto& menu : menus_) {
        if (menu->FindCommand(command))
            return menu.get();
    }
    return nullptr;
}

void CMenuBar::UpdateAll()
{
    for (auto& menu : menus_)
        menu->Update();
}

void CMenuBar::AttachTo(QMenuBar& bar)
{
    bar.clear();
    for (auto& menu : menus_)
        bar.addMenu(menu->Menu());
    priority_ = std::make_unique<AcceleratorPriority>(*this, *bar.window());
}

bool CMenuBar::IsAccelerator(const QKeySequence& keys) const
{
    for (const auto& menu : menus_) {
        for (const QAction* action : menu->Menu()->actions())
            if (!action->isSeparator() && !action->shortcut().isEmpty() && action->shortcut() == keys)
                return true;
    }
    return false;
}

} // namespace quorvel
