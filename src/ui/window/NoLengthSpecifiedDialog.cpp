#include "ui/window/NoLengthSpecifiedDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "analysis/TempoText.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

CNoLengthSpecifiedDialog::CNoLengthSpecifiedDialog(QWidget* parent) : CModalDialog(parent)
{
    setWindowTitle("Loop Length");
    auto* text = new QLabel(kNoLengthText, this);
    text->setWordWrap(true);
    text->setMinimumWidth(280);

    bars_ = new QLineEdit(this);
    bars_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), bars_));
    bars_->setMaxLength(4);
    bars_->setFixedWidth(bars_->fontMetrics().horizontalAdvance("0000") + 14);
    auto* field = new QFormLayout;
    field->addRow(WindowText(windowtext::kBarsLabel), bars_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    connect(bars_, &QLineEdit::textChanged, this, [this] { ok_->setEnabled(EnteredBars() >= 1); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (EnteredBars() >= 1)
            Finish(EnteredBars());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &CNoLengthSpecifiedDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(field);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CNoLengthSpecifiedDialog::EnteredBars() const
{
    return ParseBars(bars_->text().toStdString());
}

std::optional<int> CNoLengthSpecifiedDialog::AskBars()
{
    const int result = RunModal();
    if (result < 1)
        return std::nullopt;
    return ParseBars(std::to_string(result));
}

} // namespace quorvel
