#pragma once
// Shows an alert record (icon, title, message, up to three buttons) and
// reports the pressed button as 33, 34 or 35 for slots 0, 1 and 2. Slot 0
// (the last button listed in the script) is the default button and stands at
// the right.
#include <array>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "framework/AlertContent.h"
#include "framework/window/ModalDialog.h"

class QPushButton;

namespace quorvel {

class CAlertBox : public CModalDialog {
    Q_OBJECT
public:
    // Escape or the close button: the only button, else a button that reads
    // "Cancel", else nothing (the box stays until a button is pressed).
    void reject() override;

    explicit CAlertBox(const AlertRecord& record, QWidget* parent = nullptr);
    explicit CAlertBox(const CAlertContent& content, QWidget* parent = nullptr);

    // Runs the box and returns 33, 34 or 35.
    int RunModal() override;
    // Its Cancel button, or its only one; 0 (no button) when neither.
    int CancelledResult() const override;

    const AlertRecord& Record() const { return record_; }
    // The button of `slot`, nullptr for an empty slot.
    QPushButton* Button(int slot) const { return buttons_.at(static_cast<size_t>(slot)); }
    int ButtonCount() const { return record_.buttonCount; }

    // Replaces every alert with a call: the record goes in, the answer
    // (33 to 35) comes out, nothing is shown. For tests and unattended runs.
    using Responder = std::function<int(const AlertRecord&)>;
    static void SetResponder(Responder responder);


private:
    void Build();
    int CancelSlot() const;

    AlertRecord record_;
    std::array<QPushButton*, kAlertButtonSlots> buttons_{};
};

// Shows an alert from a reference with optional arguments; returns 33 to 35.
int ShowAlert(uint32_t reference, std::initializer_list<std::string_view> arguments = {},
              QWidget* parent = nullptr);

} // namespace quorvel
