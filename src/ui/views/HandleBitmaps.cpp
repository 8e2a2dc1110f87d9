#include "ui/views/HandleBitmaps.h"

#include <QPainter>

#include <array>

#include "ui/views/SliceHandleHit.h"

namespace quorvel {

namespace {

const QColor kOutline(44, 49, 58);
const QColor kSelectedFill(232, 122, 36);

QImage DrawSliceHandle(SliceState state, bool selected)
{
    const int width = kSliceHandleWidth;
    const int height = SliceHandleHeight(state);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor fill = selected ? kSelectedFill : QColor(250, 251, 252);
    const int tip = width / 2;
    // A wedge on the slice's column (drawn tip up, then turned over).
    QPolygon wedge;
    if (state == SliceState::Locked) {
        // Taller: a stem under the wedge so locked slices stand out.
        wedge << QPoint(tip, 0) << QPoint(width - 1, 5) << QPoint(tip + 1, 5) << QPoint(tip + 1, height - 1)
              << QPoint(tip - 1, height - 1) << QPoint(tip - 1, 5) << QPoint(0, 5);
    } else {
        wedge << QPoint(tip, 0) << QPoint(width - 1, height - 1) << QPoint(0, height - 1);
    }
    if (state == SliceState::Hidden) {
        // Hollow and dotted: present but out of play.
        p.setPen(QPen(selected ? kSelectedFill.darker(130) : QColor(120, 126, 136), 1, Qt::DotLine));
        p.setBrush(selected ? QBrush(kSelectedFill.lighter(140)) : Qt::NoBrush);
    } else {
        p.setPen(QPen(kOutline, 1));
        p.setBrush(fill);
    }
    p.drawPolygon(wedge);
    if (state == SliceState::Locked) {
        p.setPen(Qt::NoPen);
        p.setBrush(selected ? QColor(Qt::white) : kOutline);
        p.drawRect(QRect(tip - 1, 3, 3, 2));
    }
    p.end();
    // Drawn tip up, shown tip down: the handle points at its slice line.
    return image.mirrored(false, true);
}

QImage DrawLocatorHandle(bool left)
{
    QImage image(kLocatorHandleWidth, kLocatorHandleHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int w = kLocatorHandleWidth - 1;
    const int h = kLocatorHandleHeight - 1;
    const int pole = left ? 0 : w;
    const int point = left ? w : 0;
    QPolygon flag;
    flag << QPoint(pole, 0) << QPoint(point, h * 3 / 10) << QPoint(pole, h * 6 / 10);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(63, 110, 200));
    p.drawPolygon(flag);
    p.drawLine(pole, 0, pole, h);
    return image;
}

} // namespace

const QImage& SliceHandleBitmap(SliceState state, bool selected)
{
    static const std::array<QImage, 6> bitmaps{
        DrawSliceHandle(SliceState::Normal, false), DrawSliceHandle(SliceState::Normal, true),
        DrawSliceHandle(SliceState::Hidden, false), DrawSliceHandle(SliceState::Hidden, true),
        DrawSliceHandle(SliceState::Locked, false), DrawSliceHandle(SliceState::Locked, true)};
    return bitmaps[static_cast<size_t>(state) * 2 + (selected ? 1 : 0)];
}

const QImage& LocatorHandleBitmap(bool left)
{
    static const QImage leftHandle = DrawLocatorHandle(true);
    static const QImage rightHandle = DrawLocatorHandle(false);
    return left ? leftHandle : rightHandle;
}

} // namespace quorvel
