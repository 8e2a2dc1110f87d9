#include "framework/window/DocumentWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace quorvel {

CDocumentWindow::CDocumentWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // The window menu Qt gives every document window binds Ctrl+W (and
    // Ctrl+F4) to its Close item, which the File menu's Close accelerator
    // also claims: two claims and Qt carries out neither. The menu bar's
    // commands are the ones that act (Close there asks to save first).
    if (QMenu* windowMenu = systemMenu())
        for (QAction* action : windowMenu->actions())
            action->setShortcuts({});
}

bool CDocumentWindow::RequestClose()
{
    if (!MayClose())
        return false;
    closeApproved_ = true;
    close();
    return true;
}

bool CDocumentWindow::HandleCommand(uint32_t) { return false; }

std::optional<SCommandStatus> CDocumentWindow::CommandStatus(uint32_t) { return std::nullopt; }

QSize CDocumentWindow::ArrangedMinimumSize() const { return minimumSizeHint().expandedTo(minimumSize()); }

void CDocumentWindow::closeEvent(QCloseEvent* event)
{
    // The title bar's close button arrives here without RequestClose.
    if (!closeApproved_ && !MayClose()) {
        event->ignore();
        return;
    }
    closeApproved_ = true;
    QMdiSubWindow::closeEvent(event);
}

} // namespace quorvel
