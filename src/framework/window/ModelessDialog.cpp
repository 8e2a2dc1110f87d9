#include "framework/window/ModelessDialog.h"

#include <QCloseEvent>

namespace quorvel {

CModelessDialog::CModelessDialog(QWidget* parent) : QDialog(parent) { setModal(false); }

void CModelessDialog::ShowFront()
{
    show();
    raise();
    activateWindow();
}

void CModelessDialog::closeEvent(QCloseEvent* event)
{
    if (!MayClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace quorvel
