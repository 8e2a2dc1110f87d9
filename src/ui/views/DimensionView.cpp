#include "ui/views/DimensionView.h"

#include "ui/views/OffScreenCache.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace quorvel {

CDimensionView::CDimensionView(const SViewContext& context, QWidget* parent)
    : CControlView(0, parent), context_(context)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDimensionView::ShowStretch(const TimeWindow& stretch)
{
    window_.totalStart = stretch.totalStart;
    window_.totalEnd = stretch.totalEnd;
    window_.visibleStart = stretch.visibleStart;
    window_.visibleEnd = stretch.visibleEnd;
    Refresh();
}

void CDimensionView::SetTotal(int32_t start, int32_t end)
{
    window_.totalStart = start;
    window_.totalEnd = end;
}

bool CDimensionView::NeedsDrawing() const
{
    return !drawnOnce_ || !(drawnWindow_ == window_) || drawnHighlight_ != Highlight();
}

void CDimensionView::Refresh()
{
    if (NeedsDrawing())
        update();
}

void CDimensionView::MarkDrawn()
{
    drawnWindow_ = window_;
    drawnHighlight_ = Highlight();
    drawnOnce_ = true;
    ++drawCount_;
}

void CDimensionView::SetPointer(ViewPointer pointer)
{
    if (pointer == pointer_)
        return;
    pointer_ = pointer;
    setCursor(PointerShape(pointer));
}

void CDimensionView::resizeEvent(QResizeEvent* event)
{
    CControlView::resizeEvent(event);
    window_.leftPixel = 0;
    window_.rightPixel = static_cast<int16_t>(std::min(width(), 32767));
    context_.axis.ViewResized();
}

void CDimensionView::PaintCached(QPaintEvent* event, COffScreenCache& cache,
                                 const std::function<void(QImage&)>& render)
{
    QPainter painter(this);
    QImage* image = cache.Image(size());
    if (!image) {
        QImage direct(size(), QImage::Format_RGB32);
        if (direct.isNull())
            return;
        render(direct);
        painter.drawImage(0, 0, direct);
        return;
    }
    if (!cache.HeldBy(this) || NeedsDrawing()) {
        render(*image);
        cache.SetHolder(this);
        MarkDrawn();
    }
    painter.drawImage(event->rect(), *image, event->rect());
}

} // namespace quorvel
