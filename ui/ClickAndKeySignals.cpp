#include "ui/ClickAndKeySignals.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qb::ui {

ClickAndKeySignals* ClickAndKeySignals::watch(QAbstractScrollArea* view) {
    auto* watcher = new ClickAndKeySignals(view);
    watcher->m_viewport = view->viewport();
    view->installEventFilter(watcher);
    view->viewport()->installEventFilter(watcher);
    return watcher;
}

bool ClickAndKeySignals::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == m_viewport &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // A click on a row of a multiple selection changes the selection only
        // when the view has handled the release, so the signal comes after that.
        QMetaObject::invokeMethod(this, &ClickAndKeySignals::clicked, Qt::QueuedConnection);
    } else if (event->type() == QEvent::KeyRelease && watched != m_viewport) {
        emit keyReleased(static_cast<QKeyEvent*>(event));
    }
    return false;
}

} // namespace qb::ui
