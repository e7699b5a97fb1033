#include "phonelink/PhoneWatcher.h"

#include <QSocketNotifier>

namespace qb {

PhoneWatcher::PhoneWatcher(QObject* owner)
    : PhoneWatcher(&findUsbModems, UdevMonitor::create(), owner) {}

PhoneWatcher::PhoneWatcher(PhonePortList::Enumerator enumerate,
                           std::unique_ptr<UdevMonitor> monitor, QObject* owner)
    : QObject(owner), m_list(std::move(enumerate)) {
    m_list.setPortRemoved([this](PhonePort* port) { emit portRemoved(port); });
    // Without a monitor the list stays as it was filled; nothing is reported.
    m_monitor = std::move(monitor);
    if (m_monitor) {
        m_notifier = new QSocketNotifier(m_monitor->fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PhoneWatcher::onMonitorReadable);
    }
}

PhoneWatcher::~PhoneWatcher() {
    // Receivers may already be half destroyed when the owner window goes.
    m_list.setPortRemoved({});
}

void PhoneWatcher::deviceChanged(const TtyEvent& event) {
    if (event.action == "add") {
        m_list.refresh();
        emit phoneArrived();
    } else if (event.action == "remove") {
        m_list.refreshAfterRemoval(
            [&event](const UsbModem& modem) { return eventNamesModem(event, modem); });
        emit phoneRemoved();
    }
}

void PhoneWatcher::onMonitorReadable() {
    // A failing refresh or receiver must not take the event loop down; the
    // list is brought into line again by the next event.
    try {
        for (const TtyEvent& event : m_monitor->takeEvents())
            deviceChanged(event);
    } catch (...) {
    }
}

} // namespace qb
