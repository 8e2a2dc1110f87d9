#include "framework/window/ModalDialog.h"

#include <QApplication>
#include <QPointer>

#include <vector>

namespace quorvel {

namespace {
std::optional<int> autoAnswer;
bool allCancelled = false;
} // namespace

CModalDialog::CModalDialog(QWidget* parent) : QDialog(parent) { setModal(true); }

int CModalDialog::RunModal()
{
    if (allCancelled)
        return CancelledResult();
    if (autoAnswer)
        return *autoAnswer;
    return exec();
}

void CModalDialog::SetAutoAnswer(std::optional<int> result) { autoAnswer = result; }

std::optional<int> CModalDialog::AutoAnswer() { return autoAnswer; }

void CModalDialog::CancelAllFromNowOn()
{
    allCancelled = true;
    std::vector<QPointer<QDialog>> running;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible() && dialog->isModal())
            running.emplace_back(dialog);
    // Each exec() returns once control gets back to it; a dialog that ends
    // closes no other.
    for (const QPointer<QDialog>& dialog : running) {
        if (!dialog)
            continue;
        auto* ours = qobject_cast<CModalDialog*>(dialog.data());
        dialog->done(ours ? ours->CancelledResult() : QDialog::Rejected);
    }
}

bool CModalDialog::AllCancelled() { return allCancelled; }

void CModalDialog::reject()
{
    if (MayClose())
        QDialog::reject();
}

} // namespace quorvel
