#pragma once
// A dialog that stays open beside the other windows (a palette, a tool box).
#include <QDialog>

#include "framework/window/ABCWindow.h"

namespace quorvel {

class CModelessDialog : public QDialog, public CABCWindow {
    Q_OBJECT
public:
    explicit CModelessDialog(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    // Shows the dialog, or raises it when it is already open.
    void ShowFront();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace quorvel
