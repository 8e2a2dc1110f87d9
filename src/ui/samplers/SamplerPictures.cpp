#include "ui/samplers/SamplerPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace quorvel {

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 72;

struct SPanelLook {
    QColor body;
    QColor display;
    int pads;     // square buttons right of the display
    int knobs;    // round knobs at the right
    bool drive;   // a disk slot
    bool keys;    // a keyboard strip (the instruments that are keyboards)
};

SPanelLook LookFor(uint16_t id)
{
    if (id <= 15001) // the keyboard workstations
        return {QColor(40, 40, 44), QColor(120, 200, 170), 6, 2, true, true};
    if (id >= 15010 && id <= 15027)
        return {QColor(196, 198, 200), QColor(150, 200, 120), 8 + (id % 10) % 3, 1, true, false};
    if (id >= 15030 && id <= 15032)
        return {QColor(60, 62, 70), QColor(110, 190, 210), 10, 1, true, id == 15030};
    if (id == 15040)
        return {QColor(70, 72, 76), QColor(230, 150, 60), 6, 2, true, false};
    if (id == 15050)
        return {QColor(50, 56, 66), QColor(100, 180, 230), 8, 3, true, false};
    if (id >= 15060 && id <= 15070)
        return {QColor(30, 52, 96 + (id % 10) * 6), QColor(140, 220, 230), 4 + (id % 4), 2, id < 15068, false};
    return {QColor(128, 128, 132), QColor(170, 200, 150), 4, 1, false, false};
}

void DrawScrew(QPainter& painter, QPointF centre)
{
    painter.setBrush(QColor(160, 160, 160));
    painter.drawEllipse(centre, 3, 3);
    painter.drawLine(centre + QPointF(-2, 0), centre + QPointF(2, 0));
}

void DrawRack(QPainter& painter, const SPanelLook& look)
{
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    // The ears with their screws, then the panel.
    painter.setBrush(look.body.darker(120));
    painter.drawRect(0, 4, kWidth - 1, kHeight - 9);
    for (const int x : {7, kWidth - 8})
        for (const int y : {14, kHeight - 14})
            DrawScrew(painter, QPointF(x, y));
    QLinearGradient shade(0, 4, 0, kHeight - 4);
    shade.setColorAt(0, look.body.lighter(120));
    shade.setColorAt(1, look.body.darker(110));
    painter.setBrush(shade);
    painter.drawRect(16, 4, kWidth - 33, kHeight - 9);

    // The display.
    painter.setBrush(look.display);
    painter.drawRect(26, 14, 64, 22);
    painter.setPen(QPen(look.display.darker(170), 1));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(30, 20 + line * 6, 30 + 40 - line * 9, 20 + line * 6);
    painter.setPen(QPen(QColor(20, 20, 20), 1));

    // The buttons in two rows.
    painter.setBrush(look.body.lighter(160));
    for (int pad = 0; pad < look.pads; ++pad)
        painter.drawRect(100 + (pad / 2) * 12, 14 + (pad % 2) * 12, 8, 8);

    // The disk slot and its eject button.
    if (look.drive) {
        painter.setBrush(QColor(25, 25, 25));
        painter.drawRect(26, 44, 64, 5);
        painter.setBrush(look.body.lighter(140));
        painter.drawRect(82, 51, 8, 4);
    }

    // The knobs.
    for (int knob = 0; knob < look.knobs; ++knob) {
        const QPointF centre(kWidth - 36 - knob * 24, 26);
        painter.setBrush(QColor(35, 35, 35));
        painter.drawEllipse(centre, 9, 9);
        painter.setPen(QPen(QColor(230, 230, 230), 2));
        painter.drawLine(centre, centre + QPointF(4, -6));
        painter.setPen(QPen(QColor(20, 20, 20), 1));
    }

    // A keyboard strip along the bottom.
    if (look.keys) {
        painter.setBrush(Qt::white);
        for (int key = 0; key < 24; ++key)
            painter.drawRect(100 + key * 4, 48, 4, 12);
        painter.setBrush(Qt::black);
        for (int key = 0; key < 24; ++key)
            if (key % 7 != 2 && key % 7 != 6)
                painter.drawRect(102 + key * 4, 48, 2, 7);
    }
}

// The software destinations: a document with slices on it.
void DrawDocument(QPainter& painter)
{
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(90, 4);
    page.lineTo(138, 4);
    page.lineTo(150, 16);
    page.lineTo(150, kHeight - 4);
    page.lineTo(90, kHeight - 4);
    page.closeSubpath();
    painter.drawPath(page);
    painter.setPen(QPen(QColor(40, 90, 160), 2));
    for (int x = 96; x < 146; x += 4) {
        const int height = 4 + (x * 7) % 17;
        painter.drawLine(x, 38 - height / 2, x, 38 + height / 2);
    }
}

} // namespace

QPixmap SamplerPicture(uint16_t pictureId)
{
    QPixmap picture(kWidth, kHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (pictureId >= 15080 && pictureId <= 15084)
        DrawDocument(painter);
    else
        DrawRack(painter, LookFor(pictureId));
    return picture;
}

QPixmap VersionWarningPicture()
{
    QPixmap picture(20, 18);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 60, 0), 1));
    painter.setBrush(QColor(250, 200, 30));
    painter.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(19, 17), QPointF(1, 17)}));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(10, 6), QPointF(10, 11));
    painter.drawPoint(QPointF(10, 14.5));
    return picture;
}

} // namespace quorvel
