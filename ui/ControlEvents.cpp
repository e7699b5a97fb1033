#include "ui/ControlEvents.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qb::ui {

ControlEvents* ControlEvents::watch(QAbstractScrollArea* view) {
    auto* events = new ControlEvents(view);
    events->m_viewport = view->viewport();
    view->installEventFilter(events);
    view->viewport()->installEventFilter(events);
    return events;
}

bool ControlEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        // A click on a row of a multiple selection changes the selection only
        // when the view has handled the release, so the signal comes after that.
        if (watched == m_viewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QMetaObject::invokeMethod(this, &ControlEvents::clicked, Qt::QueuedConnection);
        return false;
    case QEvent::KeyPress: {
        if (watched == m_viewport)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        key->ignore();
        emit keyPressed(key);
        if (key->isAccepted())
            return true;
        key->accept();
        return false;
    }
    case QEvent::KeyRelease:
        if (watched != m_viewport)
            emit keyReleased(static_cast<QKeyEvent*>(event));
        return false;
    default:
        return false;
    }
}

} // namespace qb::ui
