#pragma once
// A dialog that keeps the rest of the program waiting until it is answered.
#include <QDialog>

#include <optional>

#include "framework/window/ABCWindow.h"

namespace quorvel {

class CModalDialog : public QDialog, public CABCWindow {
    Q_OBJECT
public:
    // Close requests (Escape, the window manager's button) reach reject();
    // refused when MayClose says no.
    void reject() override;

    explicit CModalDialog(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }

    // Shows the dialog and returns the result it was ended with (Finish,
    // accept = 1, reject = 0).
    virtual int RunModal();
    // Ends a running dialog with `result`.
    void Finish(int result) { done(result); }

    // While set, RunModal returns `result` at once without showing anything.
    // Lets tests and scripted runs drive code that asks questions.
    static void SetAutoAnswer(std::optional<int> result);
    static std::optional<int> AutoAnswer();

    // The session ends (logout, SIGTERM): nobody is left to answer. Every
    // running modal dialog (ours and Qt's) ends as cancelled, and from now
    // on RunModal gives its cancelled result at once without showing.
    static void CancelAllFromNowOn();
    static bool AllCancelled();

    // What RunModal gives when the dialog is cancelled without an answer.
    virtual int CancelledResult() const { return QDialog::Rejected; }

};

} // namespace quorvel
