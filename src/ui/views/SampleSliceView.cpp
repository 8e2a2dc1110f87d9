#include "ui/views/SampleSliceView.h"

#include <QMouseEvent>
#include <QPainter>

#include "document/SoundDocument.h"
#include "ui/views/ViewActions.h"
#include "ui/views/ViewCursors.h"

namespace quorvel {

namespace {

constexpr int32_t kZeroCrossingRange = 300;

// A dotted line that inverts what is under it, so it shows on any colour.
void PaintInvertingLine(QPainter& painter, int32_t column, int height)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QColor(Qt::white));
    for (int y = 0; y < height; y += 2)
        painter.drawPoint(column, y);
    painter.restore();
}

} // namespace

CSampleSliceView::CSampleSliceView(const SViewContext& context, QWidget* parent)
    : CWaveSampleView(context, WaveformImageCache(), parent)
{
    setMouseTracking(true);
    setMinimumHeight(60);
}

uint64_t CSampleSliceView::ExtraHighlight() const
{
    CDigest digest;
    const CSliceList& slices = context_.document.Slices();
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown))
        digest.Add(uint32_t(slice->position));
    return digest.Value();
}

void CSampleSliceView::DrawOverRaster(const SRasterTarget& target)
{
    const CSliceList& slices = context_.document.Slices();
    int32_t lastColumn = -1;
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown)) {
        if (slice->position < window_.visibleStart)
            continue;
        if (slice->position >= window_.visibleEnd)
            break;
        const int32_t column = window_.PixelOfFrame(slice->position) - window_.leftPixel;
        if (column == lastColumn)
            continue; // one line per column however many slices share it
        DrawRasterLine(target, column, palette_index::kLine);
        lastColumn = column;
    }
}

int32_t CSampleSliceView::ColumnOf(int32_t frame) const
{
    if (frame < window_.visibleStart || frame >= window_.visibleEnd)
        return -1;
    const int32_t column = window_.PixelOfFrame(frame) - window_.leftPixel;
    return column < width() ? column : -1;
}

void CSampleSliceView::UpdateColumn(int32_t column)
{
    if (column >= 0)
        update(QRect(column, 0, 1, height()));
}

void CSampleSliceView::ShowCursor(int32_t position)
{
    const int32_t column = ColumnOf(position);
    if (column == cursorColumn_)
        return;
    UpdateColumn(cursorColumn_);
    cursorColumn_ = column;
    UpdateColumn(cursorColumn_);
}

void CSampleSliceView::PaintOverlay(QPainter& painter)
{
    // The window may have moved since the cursor was placed.
    cursorColumn_ = ColumnOf(context_.actions.CursorPosition());
    if (cursorColumn_ >= 0)
        PaintInvertingLine(painter, cursorColumn_, height());
    if (previewFrame_) {
        const int32_t column = ColumnOf(*previewFrame_);
        if (column >= 0)
            PaintInvertingLine(painter, column, height());
    }
}

void CSampleSliceView::MovePreview(int32_t x, Qt::KeyboardModifiers modifiers)
{
    const WAVE_SAMPLE* sound = context_.document.Sound();
    std::optional<int32_t> frame;
    if (sound && sound->Length() > 0) {
        int32_t at = std::clamp(window_.FrameOfPixel(x), 0, sound->Length() - 1);
        if (!ConstrainHeld(modifiers))
            at = sound->FindZeroCrossing(at, kZeroCrossingRange);
        frame = at;
        const CSliceList& slices = context_.document.Slices();
        for (const CSlice* slice = slices.First(SliceFilter::All); slice; slice = slices.Next(slice, SliceFilter::All))
            if (slice->position == at)
                frame.reset(); // a slice is already there: nothing to preview
    }
    if (frame == previewFrame_)
        return;
    if (previewFrame_)
        UpdateColumn(ColumnOf(*previewFrame_));
    previewFrame_ = frame;
    if (previewFrame_)
        UpdateColumn(ColumnOf(*previewFrame_));
}

void CSampleSliceView::HidePreview()
{
    if (!previewFrame_)
        return;
    UpdateColumn(ColumnOf(*previewFrame_));
    previewFrame_.reset();
}

void CSampleSliceView::UpdatePointer(Qt::KeyboardModifiers modifiers)
{
    if (MagnifyHeld(modifiers))
        SetPointer(ConstrainHeld(modifiers) ? ViewPointer::MagnifyOut : ViewPointer::MagnifyIn);
    else
        SetPointer(context_.document.Tool() == DocumentTool::Pen ? ViewPointer::Pen : ViewPointer::Arrow);
    if (context_.document.Tool() != DocumentTool::Pen || MagnifyHeld(modifiers))
        HidePreview();
}

void CSampleSliceView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int32_t x = static_cast<int32_t>(event->position().x());
    const int32_t frame = window_.FrameOfPixel(x);
    if (MagnifyClick(event->modifiers(), frame))
        return;
    if (!context_.document.Sound())
        return;
    context_.axis.SetMouseHeld(true);
    if (context_.document.Tool() == DocumentTool::Pen) {
        penHeld_ = true;
        MovePreview(x, event->modifiers());
        return;
    }
    const int32_t length = context_.document.Sound()->Length();
    context_.actions.WaveformClicked(std::clamp(frame, 0, std::max(0, length - 1)));
}

void CSampleSliceView::mouseMoveEvent(QMouseEvent* event)
{
    UpdatePointer(event->modifiers());
    if (context_.document.Tool() == DocumentTool::Pen && !MagnifyHeld(event->modifiers()))
        MovePreview(static_cast<int32_t>(event->position().x()), event->modifiers());
}

void CSampleSliceView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    context_.axis.SetMouseHeld(false);
    if (!penHeld_)
        return;
    penHeld_ = false;
    MovePreview(static_cast<int32_t>(event->position().x()), event->modifiers());
    if (previewFrame_) {
        const int32_t frame = *previewFrame_;
        HidePreview();
        context_.actions.PenReleased(frame);
    }
}

void CSampleSliceView::leaveEvent(QEvent* event)
{
    CWaveSampleView::leaveEvent(event);
    if (!penHeld_)
        HidePreview();
}

} // namespace quorvel
