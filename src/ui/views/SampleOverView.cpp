#include "ui/views/SampleOverView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/views/ViewActions.h"
#include "ui/views/ViewCursors.h"

namespace quorvel {

CSampleOverView::CSampleOverView(const SViewContext& context, QWidget* parent)
    : CWaveSampleView(context, OverviewImageCache(), parent)
{
    setMouseTracking(true);
    setFixedHeight(36);
    SetStyle(WaveformStyle::Plain);
}

SColumnSpan CSampleOverView::FrameColumns() const
{
    return OverviewFrameColumns(window_, context_.axis.MainWindow());
}

void CSampleOverView::FrameChanged()
{
    const SColumnSpan frame = FrameColumns();
    if (frame == paintedFrame_)
        return;
    // Only the old and the new frame's columns need painting again.
    update(QRect(paintedFrame_.left, 0, paintedFrame_.right - paintedFrame_.left + 1, height()));
    update(QRect(frame.left, 0, frame.right - frame.left + 1, height()));
}

void CSampleOverView::ShowCursor(int32_t position)
{
    int32_t column = -1;
    if (position >= window_.visibleStart && position < window_.visibleEnd)
        column = window_.PixelOfFrame(position) - window_.leftPixel;
    if (column == cursorColumn_)
        return;
    if (cursorColumn_ >= 0)
        update(QRect(cursorColumn_, 0, 1, height()));
    cursorColumn_ = column;
    if (cursorColumn_ >= 0)
        update(QRect(cursorColumn_, 0, 1, height()));
}

void CSampleOverView::PaintOverlay(QPainter& painter)
{
    const SColumnSpan frame = FrameColumns();
    paintedFrame_ = frame;
    const QRect box(frame.left, 0, frame.right - frame.left + 1, height());
    painter.fillRect(box, QColor(63, 110, 200, 40));
    painter.setPen(QColor(40, 72, 140));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (cursorColumn_ >= 0) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QColor(Qt::white));
        for (int y = 0; y < height(); y += 2)
            painter.drawPoint(cursorColumn_, y);
        painter.restore();
    }
}

void CSampleOverView::UpdatePointer(int32_t x, Qt::KeyboardModifiers modifiers)
{
    const SColumnSpan frame = FrameColumns();
    if (MagnifyHeld(modifiers))
        SetPointer(ConstrainHeld(modifiers) ? ViewPointer::MagnifyOut : ViewPointer::MagnifyIn);
    else if (dragging_)
        SetPointer(ViewPointer::Grabbing);
    else if (x >= frame.left && x <= frame.right)
        SetPointer(ViewPointer::Grab);
    else
        SetPointer(ViewPointer::Arrow);
}

void CSampleOverView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int32_t x = static_cast<int32_t>(event->position().x());
    const int32_t frame = window_.FrameOfPixel(x);
    if (MagnifyClick(event->modifiers(), frame))
        return;
    const SColumnSpan columns = FrameColumns();
    if (x < columns.left || x > columns.right)
        context_.axis.ScrollMainTo(frame - context_.axis.MainWindow().VisibleSpan() / 2);
    dragging_ = true;
    dragAnchorFrame_ = frame;
    dragStartVisible_ = context_.axis.MainWindow().visibleStart;
    context_.axis.SetMouseHeld(true);
    UpdatePointer(x, event->modifiers());
}

void CSampleOverView::mouseMoveEvent(QMouseEvent* event)
{
    const int32_t x = static_cast<int32_t>(event->position().x());
    if (dragging_)
        context_.axis.ScrollMainTo(dragStartVisible_ + (window_.FrameOfPixel(x) - dragAnchorFrame_));
    UpdatePointer(x, event->modifiers());
}

void CSampleOverView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    context_.axis.SetMouseHeld(false);
    UpdatePointer(static_cast<int32_t>(event->position().x()), event->modifiers());
}

} // namespace quorvel
