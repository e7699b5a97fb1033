#include "ui/FlatMenuStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace qb::ui {

namespace {

constexpr int ItemHeight = 22;
constexpr int SeparatorHeight = 7;
constexpr int IconColumn = 24;
const QColor Panel(255, 255, 255);
const QColor Gutter(236, 240, 250);
const QColor Blue(0, 83, 208);
const QColor HighlightFill(193, 210, 238);
const QColor HighlightEdge(49, 106, 197);

void drawSeparator(QPainter* p, const QRect& r) {
    QLinearGradient line(r.left() + IconColumn, 0, r.right(), 0);
    line.setColorAt(0.0, Qt::white);
    line.setColorAt(1.0, Blue);
    p->fillRect(QRect(r.left() + IconColumn + 4, r.center().y(), r.width() - IconColumn - 8, 1),
                line);
}

// A setting's check or a choice's dot, in the icon column of an item without an icon.
void drawCheck(QPainter* p, const QStyleOptionMenuItem* item, const QColor& colour) {
    const QRect r = item->rect;
    const QPointF centre(r.left() + IconColumn / 2.0, r.center().y() + 0.5);
    p->setRenderHint(QPainter::Antialiasing);
    if (item->checkType == QStyleOptionMenuItem::Exclusive) {
        p->setPen(Qt::NoPen);
        p->setBrush(colour);
        p->drawEllipse(centre, 3.5, 3.5);
        return;
    }
    p->setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    const QPointF tick[] = {centre + QPointF(-4, 0), centre + QPointF(-1, 3),
                            centre + QPointF(4, -3)};
    p->drawPolyline(tick, 3);
}

// The arrow of an item that opens a submenu.
void drawSubmenuArrow(QPainter* p, const QRect& r, const QColor& colour) {
    const QPointF tip(r.right() - 8, r.center().y() + 0.5);
    const QPointF arrow[] = {tip + QPointF(-4, -4), tip, tip + QPointF(-4, 4)};
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    p->setBrush(colour);
    p->drawPolygon(arrow, 3);
}

void drawItem(QPainter* p, const QStyleOptionMenuItem* item) {
    const QRect r = item->rect;
    const bool enabled = item->state & QStyle::State_Enabled;
    const bool selected = enabled && (item->state & QStyle::State_Selected);
    if (selected) {
        p->setPen(HighlightEdge);
        p->setBrush(HighlightFill);
        p->drawRect(r.adjusted(1, 0, -2, -1));
    }
    if (!item->icon.isNull()) {
        const QRect iconRect(r.left() + (IconColumn - 16) / 2, r.center().y() - 7, 16, 16);
        item->icon.paint(p, iconRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
    }
    QString text = item->text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    QString shortcut;
    if (tab >= 0) {
        shortcut = text.mid(tab + 1);
        text.truncate(tab);
    }
    const QColor ink = enabled ? item->palette.color(QPalette::Text)
                               : item->palette.color(QPalette::Disabled, QPalette::Text);
    if (item->icon.isNull() && item->checkType != QStyleOptionMenuItem::NotCheckable &&
        item->checked) {
        p->save();
        drawCheck(p, item, ink);
        p->restore();
    }
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        p->save();
        drawSubmenuArrow(p, r, ink);
        p->restore();
    }
    p->setPen(ink);
    const QRect textRect = r.adjusted(IconColumn + 8, 0, -8, 0);
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text);
    if (!shortcut.isEmpty())
        p->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, shortcut);
}

} // namespace

FlatMenuStyle::FlatMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, Panel);
        return;
    }
    if (element != CE_MenuItem || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->fillRect(option->rect, Panel);
    painter->fillRect(
        QRect(option->rect.left(), option->rect.top(), IconColumn, option->rect.height()), Gutter);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        drawSeparator(painter, option->rect);
    else
        drawItem(painter, item);
    painter->restore();
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelMenu:
        painter->fillRect(option->rect, Panel);
        return;
    case PE_FrameMenu:
        painter->save();
        painter->setPen(HighlightEdge);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return {size.width(), SeparatorHeight};
    const int textWidth = item->fontMetrics.horizontalAdvance(item->text);
    return {IconColumn + 8 + textWidth + 32, ItemHeight};
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
        return 0;
    case PM_MenuVMargin:
        return 1;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

} // namespace qb::ui
