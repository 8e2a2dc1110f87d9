#include "framework/window/View.h"

#include <QAbstractButton>
#include <QPainter>
#include <QVBoxLayout>

namespace quorvel {

CView::CView(QWidget* parent) : QWidget(parent) {}

void CView::Draw(QPainter&) {}

void CView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter);
}

CControlView::CControlView(uint32_t command, QWidget* parent) : CView(parent), command_(command) {}

void CControlView::Fire()
{
    if (handler_)
        handler_(command_);
}

CNativeControlView::CNativeControlView(uint32_t command, QWidget* control, QWidget* parent)
    : CControlView(command, parent), control_(control)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control_);
    if (auto* button = qobject_cast<QAbstractButton*>(control_))
        connect(button, &QAbstractButton::clicked, this, &CControlView::Fire);
}

} // namespace quorvel
