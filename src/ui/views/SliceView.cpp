#include "ui/views/SliceView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "document/SoundDocument.h"
#include "ui/views/HandleBitmaps.h"
#include "ui/views/SliceHandleHit.h"
#include "ui/views/ViewActions.h"
#include "ui/views/ViewCursors.h"
#include "ui/views/WaveformPalette.h"

namespace quorvel {

CSliceView::CSliceView(const SViewContext& context, QWidget* parent)
    : CDimensionView(context, parent), cacheUse_(SliceStripImageCache())
{
    setMouseTracking(true);
    setFixedHeight(kLockedSliceHandleHeight + 6);
}

uint64_t CSliceView::Highlight() const
{
    CDigest digest;
    const CSliceList& slices = context_.document.Slices();
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown))
        digest.Add(uint64_t(uint32_t(slice->position)) << 8 | uint64_t(slice->state) << 1 | (slice->selected ? 1 : 0));
    return digest.Value();
}

void CSliceView::Render(QImage& image)
{
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, width(), height()), QColor::fromRgb(kStripBackground));
    // Frames of half a handle each side, so handles at the edges show in part.
    const int64_t margin = int64_t(kSliceHandleWidth / 2 + 1) * window_.FramesPerPixel();
    const CSliceList& slices = context_.document.Slices();
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown)) {
        if (slice->position < window_.visibleStart - margin)
            continue;
        if (slice->position >= window_.visibleEnd + margin)
            break;
        const QImage& bitmap = SliceHandleBitmap(slice->state, slice->selected);
        const int column = window_.PixelOfFrame(slice->position) - window_.leftPixel;
        painter.drawImage(column - bitmap.width() / 2, height() - bitmap.height(), bitmap);
    }
}

void CSliceView::paintEvent(QPaintEvent* event)
{
    PaintCached(event, cacheUse_.Cache(), [this](QImage& image) { Render(image); });
}

const CSlice* CSliceView::HandleAt(QPoint point) const
{
    return HitSliceHandle(context_.document.Slices(), window_, point.x() + window_.leftPixel, point.y(), height());
}

void CSliceView::UpdatePointer(QPoint point)
{
    const DocumentTool tool = context_.document.Tool();
    if ((tool == DocumentTool::Hide || tool == DocumentTool::Lock) && HandleAt(point))
        SetPointer(tool == DocumentTool::Hide ? ViewPointer::Hide : ViewPointer::Lock);
    else
        SetPointer(ViewPointer::Arrow);
}

void CSliceView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    CSliceList& slices = context_.document.Slices();
    if (const CSlice* hit = HandleAt(point)) {
        context_.actions.SliceHandlePressed(slices.At(slices.IndexOf(hit)), shift);
        Refresh();
        return;
    }
    context_.actions.SliceStripEmptyPressed(shift);
    dragFrom_ = window_.FrameOfPixel(point.x() + window_.leftPixel);
    context_.axis.SetMouseHeld(true);
    Refresh();
}

void CSliceView::ReportDrag(int32_t x)
{
    const int32_t to = window_.FrameOfPixel(x + window_.leftPixel);
    context_.actions.SliceStripDragged(std::min(*dragFrom_, to), std::max(*dragFrom_, to));
    Refresh();
}

void CSliceView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (dragFrom_)
        ReportDrag(point.x());
    UpdatePointer(point);
}

void CSliceView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragFrom_)
        return;
    ReportDrag(static_cast<int32_t>(event->position().x()));
    dragFrom_.reset();
    context_.axis.SetMouseHeld(false);
}

} // namespace quorvel
