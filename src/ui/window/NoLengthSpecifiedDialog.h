#pragma once
// Asks for the loop's length in bars when an export needs a tempo and the
// document has neither bars nor beats.
#include <optional>

#include "document/LengthPrompt.h"
#include "framework/window/ModalDialog.h"

class QLineEdit;
class QPushButton;

namespace quorvel {

class CNoLengthSpecifiedDialog : public CModalDialog, public CLengthPrompt {
    Q_OBJECT
public:
    explicit CNoLengthSpecifiedDialog(QWidget* parent = nullptr);

    // Runs the dialog: the bars entered (held at 666), or nothing on Cancel.
    // The dialog ends with the bars as its result, so an automatic answer
    // of n stands for n bars typed and OK pressed (0 for Cancel).
    std::optional<int> AskBars() override;

    QLineEdit* BarsField() const { return bars_; }
    QPushButton* OKButton() const { return ok_; }

private:
    int EnteredBars() const;

    QLineEdit* bars_;
    QPushButton* ok_;
};

} // namespace quorvel
