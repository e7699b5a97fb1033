#pragma once
// Flat drop-down menus: a white panel, a tinted icon column, a flat blue
// highlight and separators that fade from white to blue. Only menus use it;
// everything else keeps the desktop style.
#include <QProxyStyle>

namespace qb::ui {

class FlatMenuStyle : public QProxyStyle {
    Q_OBJECT
  public:
    FlatMenuStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
};

} // namespace qb::ui
