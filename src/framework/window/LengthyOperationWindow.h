#pragma once
// The small modal progress window of a lengthy operation: a label, a detail
// line, the value, a progress bar and a Stop button. Stop only sets a flag;
// the window stays until the operation ends and destroys it.
#include <QDialog>

#include "framework/LengthyOperation.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorvel {

class CLengthyOperationWindow : public QDialog, public CABCProgressWindow {
    Q_OBJECT
public:
    // Escape and the close button mean Stop, never closing.
    void reject() override;

    explicit CLengthyOperationWindow(QWidget* parent = nullptr);

    void Show(const SProgressContent& content) override;
    bool StopPressed() const override { return stopPressed_; }

    QPushButton* StopButton() const { return stop_; }
    QLabel* LabelText() const { return label_; }
    QLabel* DetailText() const { return detail_; }
    QLabel* ValueText() const { return value_; }
    QProgressBar* Bar() const { return bar_; }


private:
    QLabel* label_;
    QLabel* detail_;
    QLabel* value_;
    QProgressBar* bar_;
    QPushButton* stop_;
    bool stopPressed_ = false;
};

} // namespace quorvel
