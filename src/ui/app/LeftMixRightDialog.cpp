#include "ui/app/LeftMixRightDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

CLeftMixRightDialog::CLeftMixRightDialog(QWidget* parent)
    : CLeftMixRightDialog(QStringLiteral("This is a stereo sound file.\nWhich channel do you want to load?"), parent)
{
}

CLeftMixRightDialog::CLeftMixRightDialog(const QString& prompt, QWidget* parent) : CModalDialog(parent)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (const auto& [text, result] : {std::pair{"Left", kLeft}, {"Mix", kMix}, {"Right", kRight}}) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setAutoDefault(false);
        button->setDefault(result == kMix);
        connect(button, &QPushButton::clicked, this, [this, result = result] { Finish(result); });
        row->addWidget(button);
    }
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<ChannelMode> CLeftMixRightDialog::Ask(QWidget* parent)
{
    CLeftMixRightDialog dialog(parent);
    switch (dialog.RunModal()) {
    case kLeft:
        return ChannelMode::Left;
    case kMix:
        return ChannelMode::Mix;
    case kRight:
        return ChannelMode::Right;
    default:
        return std::nullopt;
    }
}

} // namespace quorvel
