#include "ui/SideBarMenu.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyle>

namespace qb::ui {

SideBarMenu::SideBarMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {
    // The items are laid out left of the band; QMenu keeps its contents margins free.
    setContentsMargins(0, 0, BarWidth, 0);
}

QFont SideBarMenu::captionFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(19);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QSize SideBarMenu::sizeHint() const {
    // A short menu grows to hold the whole caption rather than cutting it.
    QSize hint = QMenu::sizeHint();
    const int captionLength = QFontMetrics(captionFont()).horizontalAdvance(Caption) + 12;
    hint.setHeight(qMax(hint.height(), captionLength));
    return hint;
}

void SideBarMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    const QRect bar(width() - frame - BarWidth, frame, BarWidth, height() - 2 * frame);

    QPainter p(this);
    QLinearGradient shade(bar.left(), 0, bar.right(), 0);
    shade.setColorAt(0.0, QColor(140, 175, 235));
    shade.setColorAt(1.0, QColor(0, 60, 180));
    p.fillRect(bar, shade);

    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(captionFont());
    p.setPen(Qt::white);
    p.translate(bar.center().x() + 1, bar.center().y() + 1);
    p.rotate(-90); // reads bottom to top
    p.drawText(QRect(-bar.height() / 2, -BarWidth / 2, bar.height(), BarWidth), Qt::AlignCenter,
               Caption);
}

} // namespace qb::ui
