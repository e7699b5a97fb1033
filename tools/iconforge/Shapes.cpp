#include "Shapes.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace iconforge {

void outlined(QPainter& p, const QColor& fill) {
    p.setPen(QPen(fill.darker(230), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void envelope(QPainter& p, const QRectF& r, const QColor& body) {
    outlined(p, body);
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF{r.topLeft(), QPointF(r.center().x(), r.center().y() + 0.5), r.topRight()});
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width) {
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    const QPointF unit = d / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal head = width * 1.7;
    const QPointF base = to - unit * head;
    p.setPen(QPen(colour.darker(150), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, base);
    p.setPen(QPen(colour.darker(150), 0.6));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{to, base + normal * head * 0.9, base - normal * head * 0.9});
}

void cross(QPainter& p, QPointF centre, qreal half, const QColor& colour) {
    p.setPen(QPen(colour.darker(160), 3.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF a(half, half), b(half, -half);
    p.drawLine(centre - a, centre + a);
    p.drawLine(centre - b, centre + b);
    p.setPen(QPen(colour.lighter(115), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre - a, centre + a);
    p.drawLine(centre - b, centre + b);
}

void sheet(QPainter& p, const QRectF& r, bool lines) {
    outlined(p, Qt::white);
    const qreal fold = r.width() * 0.3;
    p.drawPolygon(QPolygonF{r.topLeft(), QPointF(r.right() - fold, r.top()),
                            QPointF(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()});
    p.drawPolyline(QPolygonF{QPointF(r.right() - fold, r.top()),
                             QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)});
    if (!lines)
        return;
    p.setPen(QPen(Colour::SkyBlue, 1.0));
    for (qreal y = r.top() + fold + 1.5; y < r.bottom() - 1; y += 2.0)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void pencil(QPainter& p, QPointF tip, QPointF end) {
    p.setPen(QPen(QColor(120, 80, 20), 3.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tip, end);
    p.setPen(QPen(Colour::Yellow, 2.2, Qt::SolidLine, Qt::FlatCap));
    const QPointF d = (end - tip) / std::hypot(end.x() - tip.x(), end.y() - tip.y());
    p.drawLine(tip + d * 2.2, end - d * 0.6);
    p.setPen(QPen(QColor(230, 200, 160), 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tip + d * 0.8, tip + d * 2.2);
    p.setPen(QPen(Colour::Ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(tip + d * 0.4);
}

void floppy(QPainter& p, const QRectF& r) {
    const qreal s = r.width() / 13.0;
    outlined(p, Colour::Blue);
    p.drawPolygon(QPolygonF{r.topLeft(), QPointF(r.right() - 2 * s, r.top()),
                            QPointF(r.right(), r.top() + 2 * s), r.bottomRight(), r.bottomLeft()});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(225, 230, 240));
    p.drawRect(QRectF(r.left() + 2.5 * s, r.top() + 0.5 * s, 7 * s, 4 * s));
    p.setBrush(Colour::Ink);
    p.drawRect(QRectF(r.left() + 7 * s, r.top() + 1.2 * s, 1.6 * s, 2.6 * s));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 2 * s, r.top() + 7 * s, 9 * s, 5.5 * s));
    p.setPen(QPen(Colour::SkyBlue, 0.8 * s));
    p.drawLine(QPointF(r.left() + 3 * s, r.top() + 9 * s),
               QPointF(r.left() + 10 * s, r.top() + 9 * s));
    p.drawLine(QPointF(r.left() + 3 * s, r.top() + 11 * s),
               QPointF(r.left() + 10 * s, r.top() + 11 * s));
}

void folder(QPainter& p, const QRectF& r, bool open) {
    outlined(p, QColor(232, 176, 60));
    p.drawPolygon(QPolygonF{QPointF(r.left(), r.top() + 1.5), QPointF(r.left() + 1, r.top()),
                            QPointF(r.left() + 5, r.top()), QPointF(r.left() + 6, r.top() + 1.5),
                            QPointF(r.right(), r.top() + 1.5), r.bottomRight(), r.bottomLeft()});
    outlined(p, Colour::Yellow);
    if (open)
        p.drawPolygon(QPolygonF{QPointF(r.left() + 2, r.top() + 4),
                                QPointF(r.right() + 1, r.top() + 4), QPointF(r.right(), r.bottom()),
                                r.bottomLeft()});
    else
        p.drawRect(QRectF(r.left(), r.top() + 3, r.width(), r.height() - 3));
}

void led(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
    QRadialGradient glow(centre - QPointF(radius, radius) * 0.35, radius * 1.4);
    glow.setColorAt(0.0, colour.lighter(190));
    glow.setColorAt(0.5, colour);
    glow.setColorAt(1.0, colour.darker(170));
    p.setPen(QPen(colour.darker(250), 1.0));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

void mobile(QPainter& p, const QRectF& r) {
    outlined(p, QColor(70, 76, 92));
    p.drawLine(QPointF(r.right() - 1.5, r.top()), QPointF(r.right() - 1.5, r.top() - 2.5));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 215, 250));
    p.drawRect(QRectF(r.left() + 1.2, r.top() + 1.5, r.width() - 2.4, r.height() * 0.38));
    p.setBrush(QColor(210, 214, 224));
    const qreal keysTop = r.top() + r.height() * 0.58;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(r.left() + 1.3 + col * (r.width() - 2.2) / 3.0, keysTop + row * 1.6,
                              1.1, 1.0));
}

void triangle(QPainter& p, bool up, const QColor& colour) {
    outlined(p, colour);
    if (up)
        p.drawPolygon(QPolygonF{QPointF(2.5, 11.5), QPointF(13.5, 11.5), QPointF(8, 4.5)});
    else
        p.drawPolygon(QPolygonF{QPointF(2.5, 4.5), QPointF(13.5, 4.5), QPointF(8, 11.5)});
}

} // namespace iconforge
