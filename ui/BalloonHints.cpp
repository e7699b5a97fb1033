#include "ui/BalloonHints.h"

#include "ui/PixelFont.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace qb::ui {
namespace {

constexpr int ShadowWidth = 3;

class BalloonStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return HintDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ToolTipLabelFrameWidth)
            return 4 + ShadowWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_PanelTipLabel) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // The balloon, and under it, offset down and right, its shadow.
        const QRectF balloon =
            QRectF(option->rect).adjusted(0.5, 0.5, -ShadowWidth - 0.5, -ShadowWidth - 0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillRect(option->rect, option->palette.color(QPalette::ToolTipBase));
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0, 0, 0, 70));
        painter->drawRoundedRect(balloon.translated(ShadowWidth, ShadowWidth), 5, 5);
        painter->setBrush(option->palette.color(QPalette::ToolTipBase));
        painter->setPen(option->palette.color(QPalette::Dark));
        painter->drawRoundedRect(balloon, 5, 5);
        painter->restore();
    }
};

// Tooltips are plain labels, left-aligned; a hint's text is centred by
// showing it as a centred paragraph.
class CentredHints : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const QString hint = widget->toolTip();
        if (hint.isEmpty() || Qt::mightBeRichText(hint))
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        // Kept on one line: rich text would otherwise wrap short hints.
        const QString centred =
            QStringLiteral("<p align=\"center\" style=\"white-space:pre\">%1</p>");
        QToolTip::showText(help->globalPos(), centred.arg(hint.toHtmlEscaped()), widget, QRect(),
                           widget->toolTipDuration());
        return true;
    }
};

} // namespace

void installBalloonHints(QApplication& application) {
    application.setStyle(new BalloonStyle);
    QFont font = pixelFont(QStringLiteral("Times New Roman"), 13, true);
    font.setItalic(true);
    QToolTip::setFont(font);
    QPalette colours = QToolTip::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::ToolTipText, QColor(0, 0, 128));
    QToolTip::setPalette(colours);
    application.installEventFilter(new CentredHints(&application));
}

} // namespace qb::ui
