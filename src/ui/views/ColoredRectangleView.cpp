#include "ui/views/ColoredRectangleView.h"

#include <QPainter>

#include "ui/views/WaveformPalette.h"

namespace quorvel {

uint32_t ViewColorRgb(ViewColor color)
{
    switch (color) {
    case ViewColor::Rule:
        return 0xFFB4BAC3;
    case ViewColor::Background:
        return kViewBackground;
    case ViewColor::Ruler:
        return kRulerBackground;
    }
    return kViewBackground;
}

CColoredRectangleView::CColoredRectangleView(ViewColor color, QWidget* parent)
    : CControlView(0, parent), color_(color)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CColoredRectangleView::Draw(QPainter& painter)
{
    painter.fillRect(rect(), QColor::fromRgb(ViewColorRgb(color_)));
}

} // namespace quorvel
