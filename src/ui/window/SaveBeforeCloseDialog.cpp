#include "ui/window/SaveBeforeCloseDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

CSaveBeforeCloseDialog::CSaveBeforeCloseDialog(const std::string& documentName, QWidget* parent)
    : CModalDialog(parent)
{
    setWindowTitle("Save changes before close?");
    auto* text = new QLabel(QString("\"%1\" has changes that have not been saved.")
                                .arg(QString::fromStdString(documentName)),
                            this);
    text->setWordWrap(true);
    text->setMinimumWidth(280);

    auto* buttons = new QDialogButtonBox(this);
    yes_ = buttons->addButton(QDialogButtonBox::Yes);
    no_ = buttons->addButton(QDialogButtonBox::No);
    cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
    yes_->setDefault(true);
    connect(yes_, &QPushButton::clicked, this, [this] { Finish(Yes); });
    connect(no_, &QPushButton::clicked, this, [this] { Finish(No); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Finish(Cancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace quorvel
