#pragma once
// The small window shown while the program looks for samplers or checks
// them: a line of text, an optional count and a Stop button. It keeps the
// program responsive by handling pending events whenever the work asks
// whether to stop.
#include <QDialog>

#include <string>

#include "samplers/SamplerSearch.h"

class QLabel;
class QPushButton;

namespace quorvel {

class CSamplerProgressWindow : public QDialog, public CABCSearchProgress {
    Q_OBJECT
public:
    explicit CSamplerProgressWindow(QWidget* parent = nullptr);

    void SetText(const std::string& text) override;
    // A count shown below the text ("Samplers left to check:" 3).
    void SetCount(size_t count);
    bool CancelRequested() override;
    // Escape and the close button ask to stop, as Stop does.
    void reject() override { stopped_ = true; }

    QLabel* Text() const { return text_; }
    QPushButton* Stop() const { return stop_; }
    // For tests: as though Stop was pressed.
    void RequestStop() { stopped_ = true; }

private:
    QLabel* text_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* stop_ = nullptr;
    bool stopped_ = false;
};

} // namespace quorvel
