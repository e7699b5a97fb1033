#include "ui/GradientPanel.h"

#include <QLinearGradient>
#include <QPainter>

namespace qb::ui {

GradientPanel::GradientPanel(Edges edges, QWidget* parent) : QWidget(parent), m_edges(edges) {
    setAutoFillBackground(false);
}

void GradientPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background());
    if (m_edges == Edges::None)
        return;
    // The lines fade out towards both ends, like the separators of the menus.
    QLinearGradient line(0, 0, width(), 0);
    line.setColorAt(0.0, background());
    line.setColorAt(0.5, ink());
    line.setColorAt(1.0, background());
    painter.fillRect(QRect(0, 0, width(), 1), line);
    painter.fillRect(QRect(0, height() - 1, width(), 1), line);
}

} // namespace qb::ui
