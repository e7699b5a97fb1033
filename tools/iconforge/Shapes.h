#pragma once
// Drawing primitives of the icon set, in a 16 x 16 unit grid: every picture
// is painted as vectors and scaled, so the 32 x 32 variants match the small ones.
#include <QColor>
#include <QPainter>
#include <QRectF>

namespace iconforge {

namespace Colour {
inline const QColor Ink(40, 44, 60);
inline const QColor Paper(255, 250, 232);
inline const QColor Blue(0, 83, 208);
inline const QColor SkyBlue(120, 170, 240);
inline const QColor Green(40, 160, 60);
inline const QColor Red(210, 40, 40);
inline const QColor Yellow(250, 200, 60);
inline const QColor Brown(170, 110, 50);
inline const QColor Grey(120, 124, 136);
} // namespace Colour

void outlined(QPainter& p, const QColor& fill);
void envelope(QPainter& p, const QRectF& r, const QColor& body = Colour::Paper);
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width = 2.0);
void cross(QPainter& p, QPointF centre, qreal half, const QColor& colour = Colour::Red);
void sheet(QPainter& p, const QRectF& r, bool lines);
void pencil(QPainter& p, QPointF tip, QPointF end);
void floppy(QPainter& p, const QRectF& r);
void folder(QPainter& p, const QRectF& r, bool open = false);
void led(QPainter& p, QPointF centre, qreal radius, const QColor& colour);
void mobile(QPainter& p, const QRectF& r);
void triangle(QPainter& p, bool up, const QColor& colour);

} // namespace iconforge
