#include "Unattended.h"

#include <optional>

#include "framework/window/AlertBox.h"
#include "ui/app/LeftMixRightDialog.h"
#include "ui/app/OpenAudioDialog.h"
#include "ui/window/SaveBeforeCloseDialog.h"

#include "EventTrace.h"

namespace quorvel::gui {

void AnswerEveryQuestion()
{
    CAlertBox::SetResponder([](const AlertRecord& record) {
        Trace("alert " + (record.title.empty() ? record.message : "[" + record.title + "]" + record.message));
        return AlertResultForSlot(0);
    });
    // One answer serves every modal dialog; these two share their numbers.
    static_assert(int(CSaveBeforeCloseDialog::No) == CLeftMixRightDialog::kMix);
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
    COpenAudioDialog::SetResponder([] { return std::optional<SOpenChoice>(); });
}

} // namespace quorvel::gui
