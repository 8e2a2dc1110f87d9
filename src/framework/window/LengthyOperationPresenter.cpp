#include "framework/window/LengthyOperationPresenter.h"

#include <QApplication>

#include "framework/window/Cursor.h"
#include "framework/window/LengthyOperationWindow.h"

namespace quorvel {

void CQtLengthyOperationPresenter::ShowBusyCursor(unsigned)
{
    // Qt's wait cursor animates by itself where the desktop offers it.
    quorvel::ShowBusyCursor();
}

void CQtLengthyOperationPresenter::RestoreCursor() { RestoreArrowCursor(); }

std::unique_ptr<CABCProgressWindow> CQtLengthyOperationPresenter::OpenProgressWindow(const SProgressContent& content)
{
    auto window = std::make_unique<CLengthyOperationWindow>(owner_);
    window->Show(content);
    window->raise();
    window->activateWindow();
    return window;
}

void CQtLengthyOperationPresenter::RequestAttention()
{
    // Duration 0: the task-bar entry flashes until the window is activated,
    // so repeated calls do not pile up.
    QWidget* window = owner_ ? owner_->window() : QApplication::activeWindow();
    if (window)
        QApplication::alert(window, 0);
}

} // namespace quorvel
