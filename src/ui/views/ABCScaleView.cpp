#include "ui/views/ABCScaleView.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

#include "ui/views/WaveformPalette.h"

namespace quorvel {

namespace {
constexpr int kLabelGap = 4;
} // namespace

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
    // Right end of the last label's text: a label whose text would run
    // into it keeps its long tick but not its text.
    int textEnd = std::numeric_limits<int>::min();
    drawnLabels_.clear();
    for (const SRulerMark& mark : Marks()) {
        const int x = mark.x - window_.leftPixel;
        switch (mark.tick) {
        case RulerTick::Labelled: {
            painter.drawLine(x, longTop, x, h - 1);
            const QString text = QString::fromStdString(mark.label);
            const int textWidth = metrics.horizontalAdvance(text);
            // Centred on the tick, but shifted inside at the edges so that
            // it always reads whole.
            const int left = std::max(0, std::min(x - textWidth / 2, width() - textWidth));
            if (left < textEnd + kLabelGap)
                break;
            painter.drawText(left, longTop - 2, text);
            drawnLabels_.push_back({QRect(left, longTop - 2 - metrics.ascent(), textWidth, metrics.height()), text});
            textEnd = left + textWidth;
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
