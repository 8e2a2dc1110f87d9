#include "ui/samplers/SamplerProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr int kMinimumWidth = 280;
constexpr uint32_t kStopText = 200; // "Stop"

} // namespace

CSamplerProgressWindow::CSamplerProgressWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QApplication::applicationName());
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(kMinimumWidth);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    count_ = new QLabel(this);
    count_->hide();
    stop_ = new QPushButton(WindowText(kStopText), this);
    layout->addWidget(text_);
    layout->addWidget(count_);
    layout->addWidget(stop_, 0, Qt::AlignRight);
    connect(stop_, &QPushButton::clicked, this, [this] { stopped_ = true; });
}

void CSamplerProgressWindow::SetText(const std::string& text)
{
    // The texts break their lines with a carriage return.
    QString shown = QString::fromStdString(text);
    shown.replace('\r', '\n');
    text_->setText(shown);
    if (!isVisible())
        show();
    QCoreApplication::processEvents();
}

void CSamplerProgressWindow::SetCount(size_t count)
{
    count_->setText(QString::number(count));
    count_->show();
}

bool CSamplerProgressWindow::CancelRequested()
{
    QCoreApplication::processEvents();
    return stopped_;
}

} // namespace quorvel
