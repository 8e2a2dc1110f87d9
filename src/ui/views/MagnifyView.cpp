#include "ui/views/MagnifyView.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>

#include "ui/views/TimeWindow.h"

namespace quorvel {

CMagnifyView::CMagnifyView(QWidget* parent) : CControlView(0, parent), slider_(new QSlider(Qt::Horizontal, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(slider_);
    slider_->setRange(0, kMagnifySteps);
    slider_->setPageStep(8);
    slider_->setToolTip(QStringLiteral("Magnification"));
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (moved_)
            moved_(value);
        Fire();
    });
    setFixedWidth(120);
}

int CMagnifyView::Value() const { return slider_->value(); }

void CMagnifyView::ShowValue(int value)
{
    const QSignalBlocker blocker(slider_);
    slider_->setValue(value);
}

} // namespace quorvel
