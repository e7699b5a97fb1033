#include "ui/AnimatedBanner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qb::ui {

namespace {
constexpr int FrameMs = 50;
constexpr int Period = 160; // frames of one sweep, including a pause off the band
} // namespace

AnimatedBanner::AnimatedBanner(QWidget* parent) : QWidget(parent) {
    setFixedSize(248, 46);
    m_timer.setInterval(FrameMs);
    connect(&m_timer, &QTimer::timeout, this, &AnimatedBanner::advance);
}

void AnimatedBanner::showEvent(QShowEvent*) {
    m_timer.start();
}

void AnimatedBanner::hideEvent(QHideEvent*) {
    m_timer.stop();
}

void AnimatedBanner::advance() {
    m_phase = (m_phase + 1) % Period;
    update();
}

void AnimatedBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF band = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(band, 6, 6);

    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0.0, QColor(120, 170, 240));
    fill.setColorAt(0.5, QColor(0, 83, 208));
    fill.setColorAt(1.0, QColor(0, 40, 120));
    p.fillPath(shape, fill);

    // The highlight travels left to right across twice the band's width,
    // so it spends half the period off the band: a calm blink, not a strobe.
    const qreal x = -80.0 + (2.0 * width() + 80.0) * m_phase / Period;
    QLinearGradient shine(x - 40, 0, x + 40, 0);
    shine.setColorAt(0.0, QColor(255, 255, 255, 0));
    shine.setColorAt(0.5, QColor(255, 255, 255, 110));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.save();
    p.setClipPath(shape);
    p.fillRect(rect(), shine);
    p.restore();

    QFont make(QStringLiteral("Tahoma"));
    make.setPixelSize(22);
    make.setBold(true);
    make.setItalic(true);
    p.setFont(make);
    p.setPen(Qt::white);
    p.drawText(QRect(12, 0, width() - 24, height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Motorola"));

    QFont name(QStringLiteral("Times New Roman"));
    name.setPixelSize(16);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(255, 235, 120));
    p.drawText(QRect(12, 0, width() - 24, height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Quillbox"));

    p.setPen(QPen(QColor(0, 30, 90), 1));
    p.drawPath(shape);
}

} // namespace qb::ui
