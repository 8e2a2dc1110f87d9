#pragma once
// "Save changes before close?" with Yes, No and Cancel.
#include <string>

#include "framework/window/ModalDialog.h"

class QPushButton;

namespace quorvel {

class CSaveBeforeCloseDialog : public CModalDialog {
    Q_OBJECT
public:
    // The dialog's results; Cancel is also what Escape gives.
    enum Answer { Cancel = 0, Yes = 1, No = 2 };

    // `documentName` says which document is meant.
    explicit CSaveBeforeCloseDialog(const std::string& documentName, QWidget* parent = nullptr);

    Answer Ask() { return static_cast<Answer>(RunModal()); }

    QPushButton* YesButton() const { return yes_; }
    QPushButton* NoButton() const { return no_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QPushButton* yes_;
    QPushButton* no_;
    QPushButton* cancel_;
};

} // namespace quorvel
