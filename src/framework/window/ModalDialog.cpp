#include "framework/window/ModalDialog.h"

namespace quorvel {

namespace {
std::optional<int> autoAnswer;
}

CModalDialog::CModalDialog(QWidget* parent) : QDialog(parent) { setModal(true); }

int CModalDialog::RunModal()
{
    if (autoAnswer)
        return *autoAnswer;
    return exec();
}

void CModalDialog::SetAutoAnswer(std::optional<int> result) { autoAnswer = result; }

std::optional<int> CModalDialog::AutoAnswer() { return autoAnswer; }

void CModalDialog::reject()
{
    if (MayClose())
        QDialog::reject();
}

} // namespace quorvel
