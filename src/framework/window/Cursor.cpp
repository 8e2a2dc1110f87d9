#include "framework/window/Cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace quorvel {

namespace {
bool busyShown = false;
}

void ShowBusyCursor()
{
    // Qt keeps a stack of override cursors; pushing one per refresh would
    // need as many pops, so the wait cursor is pushed once only.
    if (busyShown)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    busyShown = true;
}

void RestoreArrowCursor()
{
    if (!busyShown)
        return;
    QGuiApplication::restoreOverrideCursor();
    busyShown = false;
}

bool BusyCursorShown() { return busyShown; }

} // namespace quorvel
