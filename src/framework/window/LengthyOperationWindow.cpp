#include "framework/window/LengthyOperationWindow.h"

#include <QApplication>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/EmbeddedResources.h"

namespace quorvel {

namespace {

constexpr uint32_t kStopText = 401000010;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

CLengthyOperationWindow::CLengthyOperationWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(this)),
      detail_(new QLabel(this)),
      value_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton(this))
{
    setWindowTitle(QApplication::applicationDisplayName());
    setWindowModality(Qt::ApplicationModal);

    std::string stopText = BuiltInTextResources().Text(kStopText);
    stop_->setText(FromUtf8(stopText.empty() ? std::string("Stop") : stopText));
    stop_->setDefault(true);
    connect(stop_, &QPushButton::clicked, this, [this] { stopPressed_ = true; });

    for (QLabel* text : {label_, detail_, value_})
        text->setTextFormat(Qt::PlainText);
    detail_->hide();
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(260);

    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(bar_, 1);
    valueRow->addWidget(value_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(stop_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(detail_);
    layout->addLayout(valueRow);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CLengthyOperationWindow::Show(const SProgressContent& content)
{
    label_->setText(FromUtf8(content.label));
    detail_->setText(FromUtf8(content.detail));
    detail_->setVisible(!content.detail.empty());
    value_->setText(FromUtf8(content.valueText));
    if (content.countRange > 0) {
        bar_->setRange(0, content.countRange);
        bar_->setValue(std::clamp<int>(content.count, 0, content.countRange));
    } else {
        // Without a known range the bar shows that work goes on.
        bar_->setRange(0, 0);
    }
    if (!isVisible())
        show();
    repaint();
}

void CLengthyOperationWindow::reject() { stopPressed_ = true; }

} // namespace quorvel
