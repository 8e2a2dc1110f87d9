#include "framework/window/DocumentWindow.h"

#include <QCloseEvent>

namespace quorvel {

CDocumentWindow::CDocumentWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
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
