#include "ui/views/RangeScaleView.h"

#include <QMouseEvent>
#include <QPainter>

#include "document/SoundDocument.h"
#include "ui/views/HandleBitmaps.h"
#include "ui/views/ViewActions.h"

namespace quorvel {

CRangeScaleView::CRangeScaleView(const SViewContext& context, QWidget* parent)
    : CABCScaleView(context, RulerImageCache(), parent)
{
    setFixedHeight(26);
}

std::vector<SRulerMark> CRangeScaleView::Marks() const
{
    const WAVE_SAMPLE* sound = context_.document.Sound();
    return sound ? RulerMarks(window_, sound->SampleRate()) : std::vector<SRulerMark>{};
}

uint64_t CRangeScaleView::Highlight() const
{
    CDigest digest;
    if (const WAVE_SAMPLE* sound = context_.document.Sound())
        digest.Add(uint64_t(uint32_t(sound->LoopStart())) << 32 | uint32_t(sound->LoopEnd()));
    return digest.Value();
}

QRect CRangeScaleView::HandleRect(LocatorSide side) const
{
    const WAVE_SAMPLE* sound = context_.document.Sound();
    if (!sound)
        return {};
    const int32_t frame = side == LocatorSide::Left ? sound->LoopStart() : sound->LoopEnd();
    if (frame < window_.visibleStart || frame > window_.visibleEnd)
        return {};
    const int32_t column = window_.PixelOfFrame(frame) - window_.leftPixel;
    const int32_t left = side == LocatorSide::Left ? column : column - (kLocatorHandleWidth - 1);
    // Standing on the bottom edge, below the labels, pointing down at the
    // locator lines.
    return QRect(left, height() - kLocatorHandleHeight, kLocatorHandleWidth, kLocatorHandleHeight);
}

void CRangeScaleView::DrawOver(QPainter& painter)
{
    for (LocatorSide side : {LocatorSide::Left, LocatorSide::Right}) {
        const QRect rect = HandleRect(side);
        if (!rect.isNull())
            painter.drawImage(rect.topLeft(), LocatorHandleBitmap(side == LocatorSide::Left));
    }
}

std::optional<LocatorSide> CRangeScaleView::HandleAt(QPoint point) const
{
    // A little slack around the small flags; the nearer pole wins an overlap.
    std::optional<LocatorSide> hit;
    int bestDistance = 0;
    for (LocatorSide side : {LocatorSide::Left, LocatorSide::Right}) {
        const QRect rect = HandleRect(side);
        if (rect.isNull() || !rect.adjusted(-2, -2, 2, 0).contains(point))
            continue;
        const int pole = side == LocatorSide::Left ? rect.left() : rect.right();
        const int distance = std::abs(point.x() - pole);
        if (!hit || distance < bestDistance) {
            hit = side;
            bestDistance = distance;
        }
    }
    return hit;
}

void CRangeScaleView::MoveLocatorTo(LocatorSide side, int32_t x, Qt::KeyboardModifiers modifiers, LocatorMove move)
{
    WAVE_SAMPLE* sound = context_.document.Sound();
    if (!sound)
        return;
    const SLocators current{sound->LoopStart(), sound->LoopEnd()};
    const CSliceList* snapTo = ConstrainHeld(modifiers) ? nullptr : &context_.document.Slices();
    const auto moved = MoveLocator(current, side, window_.FrameOfPixel(x), sound->Length(), snapTo, move);
    if (!moved || *moved == current)
        return;
    context_.document.SetLocators(moved->left, moved->right);
    Refresh();
    context_.axis.LocatorsEdited();
    context_.actions.LocatorsMoved(move == LocatorMove::Drag && side == LocatorSide::Left);
}

void CRangeScaleView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if ((dragged_ = HandleAt(point))) {
        context_.axis.SetMouseHeld(true);
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        MoveLocatorTo(LocatorSide::Left, point.x(), event->modifiers(), LocatorMove::Click);
    else if (event->modifiers() & Qt::ControlModifier)
        MoveLocatorTo(LocatorSide::Right, point.x(), event->modifiers(), LocatorMove::Click);
}

void CRangeScaleView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragged_)
        MoveLocatorTo(*dragged_, static_cast<int32_t>(event->position().x()), event->modifiers(), LocatorMove::Drag);
}

void CRangeScaleView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragged_)
        return;
    MoveLocatorTo(*dragged_, static_cast<int32_t>(event->position().x()), event->modifiers(), LocatorMove::Drag);
    dragged_.reset();
    context_.axis.SetMouseHeld(false);
}

} // namespace quorvel
