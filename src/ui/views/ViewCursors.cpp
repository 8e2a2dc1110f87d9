#include "ui/views/ViewCursors.h"

#include <QPainter>
#include <QPixmap>

#include <array>
#include <optional>

namespace quorvel {

namespace {

constexpr int kSize = 24;

// Draws a cursor with a white outline under a dark shape so it shows on
// every background.
template <class DrawFn>
QCursor DrawnCursor(int hotX, int hotY, DrawFn&& draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QColor& color : {QColor(Qt::white), QColor(30, 33, 38)}) {
        const bool outline = color == QColor(Qt::white);
        QPen pen(color, outline ? 4.0 : 1.6);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        draw(painter);
    }
    painter.end();
    return QCursor(pixmap, hotX, hotY);
}

QCursor Magnifier(bool in)
{
    return DrawnCursor(9, 9, [in](QPainter& p) {
        p.drawEllipse(QPointF(9, 9), 6.5, 6.5);
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
        p.drawLine(QPointF(6, 9), QPointF(12, 9));
        if (in)
            p.drawLine(QPointF(9, 6), QPointF(9, 12));
    });
}

QCursor HideCursor()
{
    // A closed eye: the handle goes out of sight.
    return DrawnCursor(12, 12, [](QPainter& p) {
        p.drawArc(QRectF(3, 5, 18, 12), 200 * 16, 140 * 16);
        p.drawLine(QPointF(6, 15), QPointF(4, 18));
        p.drawLine(QPointF(12, 17), QPointF(12, 20));
        p.drawLine(QPointF(18, 15), QPointF(20, 18));
    });
}

QCursor LockCursor()
{
    return DrawnCursor(12, 14, [](QPainter& p) {
        p.drawRect(QRectF(6, 11, 12, 9));
        p.drawArc(QRectF(8, 4, 8, 12), 0, 180 * 16);
        p.drawLine(QPointF(8, 10), QPointF(8, 11));
        p.drawLine(QPointF(16, 10), QPointF(16, 11));
        p.drawPoint(QPointF(12, 15.5));
    });
}

QCursor PenCursor()
{
    // A pencil whose tip is the hot spot.
    return DrawnCursor(2, 21, [](QPainter& p) {
        const QPolygonF body{QPointF(2, 21), QPointF(4, 15), QPointF(17, 2), QPointF(21, 6), QPointF(8, 19)};
        p.drawPolygon(body);
        p.drawLine(QPointF(4, 15), QPointF(8, 19));
        p.drawLine(QPointF(14, 5), QPointF(18, 9));
    });
}

} // namespace

const QCursor& PointerShape(ViewPointer pointer)
{
    static std::array<std::optional<QCursor>, 8> shapes;
    std::optional<QCursor>& shape = shapes[static_cast<size_t>(pointer)];
    if (!shape) {
        switch (pointer) {
        case ViewPointer::Arrow:
            shape = QCursor(Qt::ArrowCursor);
            break;
        case ViewPointer::Pen:
            shape = PenCursor();
            break;
        case ViewPointer::Hide:
            shape = HideCursor();
            break;
        case ViewPointer::Lock:
            shape = LockCursor();
            break;
        case ViewPointer::Grab:
            shape = QCursor(Qt::OpenHandCursor);
            break;
        case ViewPointer::Grabbing:
            shape = QCursor(Qt::ClosedHandCursor);
            break;
        case ViewPointer::MagnifyIn:
            shape = Magnifier(true);
            break;
        case ViewPointer::MagnifyOut:
            shape = Magnifier(false);
            break;
        }
    }
    return *shape;
}

} // namespace quorvel
