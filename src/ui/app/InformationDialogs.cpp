#include "ui/app/InformationDialogs.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quorvel {

namespace {

QDialogButtonBox* CloseButton(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    return buttons;
}

} // namespace

CAboutBox::CAboutBox(const std::string& version, QWidget* parent) : CModalDialog(parent)
{
    setWindowTitle(QStringLiteral("About Quorvel!"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Quorvel!"), this);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Version %1").arg(QString::fromStdString(version)), this), 0,
                      Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("A loop slicer by Hollmark. Built with Qt and ALSA."), this), 0,
                      Qt::AlignHCenter);
    layout->addWidget(CloseButton(*this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CSystemInformationDialog::CSystemInformationDialog(const std::string& report, QWidget* parent) : CModalDialog(parent)
{
    setWindowTitle(QStringLiteral("System Information"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QPlainTextEdit(QString::fromStdString(report), this);
    text->setReadOnly(true);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setMinimumSize(480, 260);
    layout->addWidget(text);
    layout->addWidget(CloseButton(*this));
}

} // namespace quorvel
