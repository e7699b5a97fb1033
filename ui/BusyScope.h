#pragma once
// While a long command lets window events run, every other command is refused:
// the window is "busy", its command controls are disabled and the handlers
// return at once. Refusing is simpler to reason about than queuing or
// restarting, and a half-filled list or a half-read phone is never touched.
#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QWidget;
class MainWindow;

namespace qb::ui {

class BusyGuard : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The controls that start commands; they are disabled while busy.
    void setCommandControls(const std::vector<QWidget*>& widgets,
                            const std::vector<QAction*>& actions);
    bool isBusy() const { return m_depth > 0; }

  signals:
    // The outermost long command has ended; deferred requests (closing) may run now.
    void idle();

  private:
    friend class BusyScope;
    void enter();
    void leave();

    template <typename Control> struct Saved {
        QPointer<Control> control;
        bool enabled = true;
    };
    int m_depth = 0;
    std::vector<Saved<QWidget>> m_widgets;
    std::vector<Saved<QAction>> m_actions;
};

// RAII: the window is busy from construction to destruction. Scopes may nest;
// only the outermost one disables and restores the controls.
class BusyScope {
  public:
    explicit BusyScope(MainWindow& form);
    explicit BusyScope(BusyGuard& guard);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    BusyGuard& m_guard;
};

} // namespace qb::ui
