#pragma once
// The program's icon in the notification area. With it, a minimised window
// leaves the task bar and a double click on the icon brings it back; without
// a notification area (some desktops have none) the task-bar button stays,
// so the window can always be restored.
#include <QObject>
#include <QSystemTrayIcon>

class QWidget;

namespace qb::ui {

class TrayPresence : public QObject {
    Q_OBJECT
  public:
    TrayPresence(QWidget* window, bool trayAvailable);
    explicit TrayPresence(QWidget* window);

    QSystemTrayIcon* icon() const { return m_icon; } // none without a notification area

    // A message from the icon, also while the window is hidden; false without
    // a notification area to show it in.
    bool notify(const QString& title, const QString& text, bool failed);

  public slots:
    void activate(QSystemTrayIcon::ActivationReason reason);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace qb::ui
