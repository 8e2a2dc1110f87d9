#include "ui/window/ControlIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvel {

namespace {

// Pictures are drawn on a 16 x 16 grid and rendered at twice that for sharp
// edges on high-density screens.
constexpr int kGrid = 16;
constexpr qreal kScale = 2.0;

void Triangle(QPainter& p, qreal left, qreal top, qreal right, qreal bottom, bool pointingRight = true)
{
    QPainterPath path;
    const qreal middle = (top + bottom) / 2;
    if (pointingRight) {
        path.moveTo(left, top);
        path.lineTo(right, middle);
        path.lineTo(left, bottom);
    } else {
        path.moveTo(right, top);
        path.lineTo(left, middle);
        path.lineTo(right, bottom);
    }
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
}

void Bar(QPainter& p, qreal x, qreal top, qreal bottom)
{
    p.fillRect(QRectF(x, top, 1.6, bottom - top), p.pen().color());
}

void Draw(QPainter& p, ControlPicture picture)
{
    const QColor ink = p.pen().color();
    switch (picture) {
    case ControlPicture::Stop:
        p.fillRect(QRectF(4, 4, 8, 8), ink);
        break;
    case ControlPicture::PlayLoop: {
        Triangle(p, 3, 3.5, 10, 10.5);
        QPen pen(ink, 1.3);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 6, 9, 7), 180 * 16, 200 * 16);
        Triangle(p, 12.2, 7.2, 15, 10.2);
        break;
    }
    case ControlPicture::PlayPrevious:
        Bar(p, 3, 4, 12);
        Triangle(p, 5, 4, 11, 12, false);
        Triangle(p, 9, 4, 15, 12, false);
        break;
    case ControlPicture::PlayCurrent:
        Bar(p, 3, 3.5, 12.5);
        Triangle(p, 5.5, 4, 11, 12);
        Bar(p, 11.6, 3.5, 12.5);
        break;
    case ControlPicture::PlayNext:
        Triangle(p, 2, 4, 8, 12);
        Triangle(p, 6, 4, 12, 12);
        Bar(p, 12.6, 4, 12);
        break;
    case ControlPicture::ArrowTool: {
        QPainterPath arrow;
        arrow.moveTo(4, 2);
        arrow.lineTo(4, 13);
        arrow.lineTo(6.8, 10.4);
        arrow.lineTo(8.8, 14.5);
        arrow.lineTo(10.4, 13.7);
        arrow.lineTo(8.5, 9.8);
        arrow.lineTo(12, 9.8);
        arrow.closeSubpath();
        p.fillPath(arrow, ink);
        break;
    }
    case ControlPicture::HideTool: {
        // An eye, struck through.
        p.setPen(QPen(ink, 1.3));
        p.setBrush(Qt::NoBrush);
        QPainterPath eye;
        eye.moveTo(1.5, 8);
        eye.quadTo(8, 1.5, 14.5, 8);
        eye.quadTo(8, 14.5, 1.5, 8);
        p.drawPath(eye);
        p.setBrush(ink);
        p.drawEllipse(QPointF(8, 8), 2, 2);
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(3, 13.5), QPointF(13, 2.5));
        break;
    }
    case ControlPicture::LockTool:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 2.5, 6, 8), 0, 180 * 16);
        p.drawLine(QPointF(5, 6.5), QPointF(5, 8));
        p.drawLine(QPointF(11, 6.5), QPointF(11, 8));
        p.fillRect(QRectF(3.5, 7.5, 9, 7), ink);
        break;
    case ControlPicture::PenTool: {
        QPainterPath pen;
        pen.moveTo(11, 2);
        pen.lineTo(14, 5);
        pen.lineTo(6, 13);
        pen.lineTo(2.5, 13.5);
        pen.lineTo(3, 10);
        pen.closeSubpath();
        p.fillPath(pen, ink);
        break;
    }
    case ControlPicture::OneSample:
        // Slices joined into one block.
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 4.5, 13, 7));
        p.fillRect(QRectF(3, 6, 10, 4), ink);
        break;
    case ControlPicture::Normalize:
        // A level raised to the top line.
        p.fillRect(QRectF(1.5, 2, 13, 1.2), ink);
        p.fillRect(QRectF(3, 4.5, 2, 9.5), ink);
        p.fillRect(QRectF(7, 4.5, 2, 9.5), ink);
        p.fillRect(QRectF(11, 4.5, 2, 9.5), ink);
        break;
    case ControlPicture::SilenceSelected: {
        // A loudspeaker, crossed out.
        QPainterPath speaker;
        speaker.moveTo(1.5, 6);
        speaker.lineTo(4.5, 6);
        speaker.lineTo(8, 2.5);
        speaker.lineTo(8, 13.5);
        speaker.lineTo(4.5, 10);
        speaker.lineTo(1.5, 10);
        speaker.closeSubpath();
        p.fillPath(speaker, ink);
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(10, 5.5), QPointF(14.5, 10.5));
        p.drawLine(QPointF(14.5, 5.5), QPointF(10, 10.5));
        break;
    }
    case ControlPicture::PitchMode:
        // A note.
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QRectF(3, 10, 5.5, 4));
        p.fillRect(QRectF(7.2, 2, 1.4, 10), ink);
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(8, 2.6), QPointF(12.5, 5.5));
        break;
    case ControlPicture::Transmit:
        p.fillRect(QRectF(2, 6.5, 7, 3), ink);
        Triangle(p, 8.5, 3, 14, 13);
        break;
    }
}

QPixmap Render(ControlPicture picture, const QColor& ink)
{
    QPixmap pixmap(static_cast<int>(kGrid * kScale), static_cast<int>(kGrid * kScale));
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1));
    Draw(p, picture);
    return pixmap;
}

} // namespace

QIcon ControlIcon(ControlPicture picture, const QColor& ink)
{
    QIcon icon;
    icon.addPixmap(Render(picture, ink), QIcon::Normal);
    QColor faded = ink;
    faded.setAlphaF(0.35f);
    icon.addPixmap(Render(picture, faded), QIcon::Disabled);
    return icon;
}

} // namespace quorvel
