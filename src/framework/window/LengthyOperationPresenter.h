#pragma once
// Lengthy operations shown with Qt: the application-wide wait cursor, the
// progress window and the task bar's attention flag.
#include "framework/LengthyOperation.h"

class QWidget;

namespace quorvel {

class CQtLengthyOperationPresenter final : public CABCLengthyOperationPresenter {
public:
    // `owner` (the frame window, may be null) parents the progress window
    // and is the window that asks for attention.
    explicit CQtLengthyOperationPresenter(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowBusyCursor(unsigned phase) override;
    void RestoreCursor() override;
    std::unique_ptr<CABCProgressWindow> OpenProgressWindow(const SProgressContent& content) override;
    void RequestAttention() override;

private:
    QWidget* owner_;
};

} // namespace quorvel
