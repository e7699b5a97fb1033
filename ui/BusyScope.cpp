#include "ui/BusyScope.h"

#include "ui/MainWindow.h"

#include <QAction>
#include <QWidget>

namespace qb::ui {

void BusyGuard::setCommandControls(const std::vector<QWidget*>& widgets,
                                   const std::vector<QAction*>& actions) {
    m_widgets.clear();
    for (QWidget* widget : widgets)
        m_widgets.push_back({widget, true});
    m_actions.clear();
    for (QAction* action : actions)
        m_actions.push_back({action, true});
}

namespace {

template <typename Control> void disableAll(std::vector<Control>& saved) {
    for (auto& entry : saved) {
        if (!entry.control)
            continue;
        entry.enabled = entry.control->isEnabled();
        entry.control->setEnabled(false);
    }
}

// A control that was enabled again while busy got that state from someone who
// knew better than the saved one, so it keeps it.
template <typename Control> void restoreAll(std::vector<Control>& saved) {
    for (auto& entry : saved) {
        if (entry.control && !entry.control->isEnabled())
            entry.control->setEnabled(entry.enabled);
    }
}

} // namespace

void BusyGuard::enter() {
    if (m_depth++ > 0)
        return;
    disableAll(m_widgets);
    disableAll(m_actions);
}

void BusyGuard::leave() {
    if (--m_depth > 0)
        return;
    restoreAll(m_widgets);
    restoreAll(m_actions);
    emit idle();
}

BusyScope::BusyScope(MainWindow& form) : BusyScope(form.busyGuard()) {}

BusyScope::BusyScope(BusyGuard& guard) : m_guard(guard) {
    m_guard.enter();
}

BusyScope::~BusyScope() {
    m_guard.leave();
}

} // namespace qb::ui
