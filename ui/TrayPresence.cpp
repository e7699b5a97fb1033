#include "ui/TrayPresence.h"

#include "models/Icons.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace qb::ui {

TrayPresence::TrayPresence(QWidget* window)
    : TrayPresence(window, QSystemTrayIcon::isSystemTrayAvailable()) {}

TrayPresence::TrayPresence(QWidget* window, bool trayAvailable)
    : QObject(window), m_window(window) {
    if (!trayAvailable)
        return;
    m_icon = new QSystemTrayIcon(programIcon(), this);
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayPresence::activate);
    m_icon->show();
    m_window->installEventFilter(this);
}

void TrayPresence::activate(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::DoubleClick)
        return;
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

bool TrayPresence::notify(const QString& title, const QString& text, bool failed) {
    if (!m_icon)
        return false;
    m_icon->showMessage(title, text,
                        failed ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
    return true;
}

bool TrayPresence::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::WindowStateChange &&
        m_window->isMinimized()) {
        // Hidden once the minimising has been handled: a hidden window has no
        // task-bar button, and the icon is the way back.
        QTimer::singleShot(0, m_window, [window = m_window] {
            if (window->isMinimized())
                window->hide();
        });
    }
    return false;
}

} // namespace qb::ui
