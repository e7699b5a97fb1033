#include "ui/HoverTexts.h"

#include "ui/ApplicationTitle.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace qb::ui {

HoverTexts::HoverTexts(QWidget* toolbar, Show title, Show panel)
    : QObject(toolbar), m_toolbar(toolbar), m_title(std::move(title)), m_panel(std::move(panel)) {
    // Coming back from a button onto the background gives the toolbar no enter
    // event of its own, only mouse moves; tracking makes them arrive.
    m_toolbar->setMouseTracking(true);
    m_toolbar->installEventFilter(this);
}

void HoverTexts::addButton(QWidget* button, const QString& title, const QString& panel) {
    m_buttons.insert(button, {title, panel});
    button->installEventFilter(this);
}

void HoverTexts::enterBackground() {
    if (m_onBackground)
        return;
    m_onBackground = true;
    m_title(QLatin1Char(' ') + ApplicationTitle);
}

bool HoverTexts::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_toolbar) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove: {
            const QPointF at = event->type() == QEvent::Enter
                                   ? static_cast<QEnterEvent*>(event)->position()
                                   : static_cast<QMouseEvent*>(event)->position();
            if (!m_toolbar->childAt(at.toPoint()))
                enterBackground();
            break;
        }
        case QEvent::Leave:
            m_onBackground = false;
            break;
        default:
            break;
        }
        return false;
    }
    const auto button = m_buttons.constFind(watched);
    if (button == m_buttons.constEnd())
        return false;
    if (event->type() == QEvent::Enter) {
        m_onBackground = false;
        m_title(button->title);
        m_panel(button->panel);
    } else if (event->type() == QEvent::Leave) {
        m_title(QString());
        m_panel(QString());
    }
    return false;
}

} // namespace qb::ui
