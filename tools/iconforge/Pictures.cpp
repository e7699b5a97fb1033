#include "Pictures.h"

#include "Shapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace iconforge {

using namespace Colour;

namespace {

void roundSign(QPainter& p, const QColor& colour, const QString& glyph) {
    led(p, QPointF(8, 8), 6.5, colour);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, glyph);
}

void deleteAll(QPainter& p) {
    envelope(p, QRectF(3.5, 1.5, 11, 7));
    envelope(p, QRectF(1.5, 4.5, 11, 7));
    cross(p, QPointF(11.5, 12), 2.3);
}

void box(QPainter& p) {
    outlined(p, Brown.lighter(130));
    p.drawRect(QRectF(2.5, 6.5, 11, 8));
    outlined(p, Brown);
    p.drawRect(QRectF(1.5, 3.5, 13, 3));
    p.setPen(QPen(Brown.darker(200), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 9), QPointF(10, 9));
}

void exitDoor(QPainter& p) {
    outlined(p, Brown);
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::Yellow);
    p.drawEllipse(QPointF(7.5, 8.5), 0.9, 0.9);
    arrow(p, QPointF(8, 8), QPointF(15, 8), Green, 2.2);
}

void plug(QPainter& p) {
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 3), QPointF(12.5, 0.5));
    p.drawLine(QPointF(12.5, 6.5), QPointF(15, 3.5));
    outlined(p, Grey.lighter(130));
    p.drawPolygon(QPolygonF{QPointF(6, 5), QPointF(9, 2), QPointF(14, 7), QPointF(11, 10)});
    p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(8.5, 7.5));
    cable.cubicTo(QPointF(4, 12), QPointF(3, 9), QPointF(1, 14.5));
    p.drawPath(cable);
}

void convert(QPainter& p) {
    sheet(p, QRectF(0.5, 0.5, 8, 10), true);
    floppy(p, QRectF(8.5, 7.5, 7, 7));
    arrow(p, QPointF(5, 12.5), QPointF(8.5, 12.5), Green, 1.8);
}

void readPhone(QPainter& p) {
    mobile(p, QRectF(1.5, 3.5, 6, 11.5));
    envelope(p, QRectF(8.5, 9.5, 7, 5));
    arrow(p, QPointF(8, 3), QPointF(12, 8.5), Blue, 1.8);
}

void saveAll(QPainter& p) {
    floppy(p, QRectF(4.5, 0.5, 11, 11));
    floppy(p, QRectF(0.5, 4.5, 11, 11));
}

void person(QPainter& p, const QColor& shirt) {
    outlined(p, shirt);
    p.drawChord(QRectF(2.5, 9, 11, 11), 0, 180 * 16);
    outlined(p, QColor(250, 210, 170));
    p.drawEllipse(QPointF(8, 6), 3.2, 3.2);
}

void star(QPainter& p) {
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 ? 3.0 : 7.0;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        points << QPointF(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
    }
    outlined(p, Yellow);
    p.drawPolygon(points);
}

void clock(QPainter& p) {
    outlined(p, Qt::white);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 4));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void magnifier(QPainter& p) {
    p.setPen(QPen(Brown.darker(150), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    outlined(p, QColor(210, 235, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

void warning(QPainter& p) {
    outlined(p, Yellow);
    p.drawPolygon(QPolygonF{QPointF(8, 1.5), QPointF(15, 14.5), QPointF(1, 14.5)});
    p.setPen(QPen(Ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 6), QPointF(8, 10));
    p.drawPoint(QPointF(8, 12.7));
}

void check(QPainter& p) {
    p.setPen(QPen(Green.darker(150), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)});
    p.setPen(QPen(Green.lighter(130), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)});
}

void refresh(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Green.darker(130), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
    arrow(p, QPointF(12.5, 6), QPointF(13.5, 9.5), Green, 1.4);
    arrow(p, QPointF(3.5, 10), QPointF(2.5, 6.5), Green, 1.4);
}

void book(QPainter& p) {
    outlined(p, Blue);
    p.drawRoundedRect(QRectF(3.5, 1.5, 10, 13), 1, 1);
    outlined(p, Qt::white);
    p.drawRect(QRectF(3.5, 12.5, 10, 2));
    person(p, SkyBlue);
}

void palette(QPainter& p) {
    outlined(p, QColor(230, 200, 150));
    p.drawEllipse(QRectF(1.5, 2.5, 13, 11));
    const QColor dots[] = {Red, Yellow, Green, Blue};
    const QPointF at[] = {{5, 6}, {8.5, 5}, {11.5, 7}, {11, 10.5}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(at[i], 1.3, 1.3);
    }
}

void htmlPage(QPainter& p) {
    sheet(p, QRectF(2.5, 0.5, 11, 15), false);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setBold(true);
    font.setPixelSize(6);
    p.setFont(font);
    p.setPen(Blue);
    p.drawText(QRectF(2.5, 5, 11, 8), Qt::AlignCenter, QStringLiteral("<>"));
}

} // namespace

Picture imageListPicture(int index) {
    switch (index) {
    case 0:
        return [](QPainter& p) { triangle(p, false, Green); };
    case 1:
        return [](QPainter& p) { triangle(p, true, Green); };
    case 2:
        return [](QPainter& p) { folder(p, QRectF(1.5, 2.5, 13, 11)); };
    case 3:
        return [](QPainter& p) { floppy(p, QRectF(1.5, 1.5, 13, 13)); };
    case 4:
        return [](QPainter& p) {
            envelope(p, QRectF(0.5, 5.5, 11, 8));
            arrow(p, QPointF(8, 9), QPointF(15, 2), Green);
        };
    case 5:
        return [](QPainter& p) { folder(p, QRectF(1.5, 2.5, 13, 11), true); };
    case 6:
        return [](QPainter& p) { roundSign(p, Blue, QStringLiteral("i")); };
    case 7:
        return [](QPainter& p) { roundSign(p, Green, QStringLiteral("?")); };
    case 8:
        return [](QPainter& p) {
            envelope(p, QRectF(4.5, 6.5, 11, 8));
            arrow(p, QPointF(1, 1), QPointF(8, 8), Blue);
        };
    case 9:
        return [](QPainter& p) { person(p, Blue); };
    case 10:
        return book;
    case 11:
        return clock;
    case 12:
        return deleteAll;
    case 13:
        return magnifier;
    case 14:
        return [](QPainter& p) {
            envelope(p, QRectF(0.5, 2.5, 12, 9));
            cross(p, QPointF(11.5, 12), 2.5);
        };
    case 15:
        return refresh;
    case 16:
        return exitDoor;
    case 17:
        return palette;
    case 18:
        return check;
    case 19:
        return [](QPainter& p) { led(p, QPointF(8, 8), 5.5, QColor(40, 200, 60)); };
    case 20:
        return warning;
    case 21:
        return [](QPainter& p) { led(p, QPointF(8, 8), 5.5, Red); };
    case 22:
        return [](QPainter& p) {
            sheet(p, QRectF(2.5, 1.5, 10, 13), true);
            pencil(p, QPointF(7, 13), QPointF(14.5, 5.5));
        };
    case 23:
        return [](QPainter& p) { envelope(p, QRectF(1.5, 4.5, 13, 9), QColor(215, 230, 255)); };
    case 24:
        return [](QPainter& p) { envelope(p, QRectF(1.5, 3.5, 13, 9)); };
    case 25:
        return plug;
    case 26:
        return convert;
    case 27:
        return htmlPage;
    case 28:
        return readPhone;
    case 29:
        return saveAll;
    case 30:
        return box;
    case 31:
        return [](QPainter& p) {
            sheet(p, QRectF(1.5, 0.5, 11, 14), true);
            pencil(p, QPointF(6.5, 14), QPointF(15, 5.5));
        };
    case 32:
        return star;
    case 33:
        return [](QPainter& p) { mobile(p, QRectF(4.5, 3.5, 7, 12)); };
    default:
        return {};
    }
}

void paintProgramIcon(QPainter& p) {
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0.0, QColor(90, 150, 240));
    tile.setColorAt(1.0, QColor(0, 55, 150));
    p.setPen(QPen(QColor(0, 30, 90), 1.5));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.save();
    p.scale(3.0, 3.0);
    envelope(p, QRectF(2.5, 6.5, 14, 10));
    p.restore();

    // The quill, its nib resting on the envelope.
    QPainterPath feather(QPointF(30, 44));
    feather.cubicTo(QPointF(36, 26), QPointF(46, 12), QPointF(58, 6));
    feather.cubicTo(QPointF(54, 18), QPointF(46, 32), QPointF(30, 44));
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(255, 220, 90));
    p.drawPath(feather);
    p.setPen(QPen(QColor(120, 80, 10), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, 47), QPointF(52, 14));
}

} // namespace iconforge
