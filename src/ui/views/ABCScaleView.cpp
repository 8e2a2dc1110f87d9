#include "ui/views/ABCScaleView.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/views/WaveformPalette.h"

namespace quorvel {

CABCScaleView::CABCScaleView(const SViewContext& context, COffScreenCache& cache, QWidget* parent)
    : CDimensionView(context, parent), cacheUse_(cache)
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    setFont(small);
}

void CABCScaleView::Render(QImage& image)
{
    QPainter painter(&image);
    const int h = height();
    painter.fillRect(QRect(0, 0, width(), h), QColor::fromRgb(kRulerBackground));
    painter.setPen(QColor::fromRgb(kViewLineColor));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int longTop = h * 2 / 5;
    for (const SRulerMark& mark : Marks()) {
        const int x = mark.x - window_.leftPixel;
        switch (mark.tick) {
        case RulerTick::Labelled: {
            painter.drawLine(x, longTop, x, h - 1);
            const QString text = QString::fromStdString(LabelText(mark.frame));
            const int textWidth = metrics.horizontalAdvance(text);
            painter.drawText(x - textWidth / 2, longTop - 2, text);
            break;
        }
        case RulerTick::Half:
            painter.drawLine(x, h - 3, x, h - 1);
            break;
        case RulerTick::Small:
            painter.drawLine(x, h - 2, x, h - 1);
            break;
        }
    }
    DrawOver(painter);
}

void CABCScaleView::paintEvent(QPaintEvent* event)
{
    PaintCached(event, cacheUse_.Cache(), [this](QImage& image) { Render(image); });
}

} // namespace quorvel
