#include "phonelink/PhoneWatcher.h"

#include "phonelink/SerialPorts.h"

#include <QSocketNotifier>

namespace qb {

PhoneWatcher::PhoneWatcher(QObject* owner)
    : PhoneWatcher(&findUsbModems, UdevMonitor::create(), owner) {}

PhoneWatcher::PhoneWatcher(PhonePortList::Enumerator enumerate,
                           std::unique_ptr<UdevMonitor> monitor, QObject* owner)
    : QObject(owner), m_list(enumerate), m_found(std::move(enumerate)) {
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

void PhoneWatcher::followPort(const std::string& path) {
    m_followed = path;
    if (path.empty()) {
        m_list.setEnumerator(m_found);
    } else {
        auto port = std::make_shared<ChosenPort>(path);
        m_list.setEnumerator([port] { return port->phones(); });
    }
    emit portsReplaced();
}

void PhoneWatcher::recheckFollowedPort() {
    if (m_followed.empty())
        return;
    const PhonePort* before = m_list.at(0);
    const uint32_t beforeId = before ? before->modem().deviceId : 0;
    m_list.refresh();
    const PhonePort* after = m_list.at(0);
    if (before && (!after || after->modem().deviceId != beforeId))
        emit phoneRemoved();
    if (after && (!before || after->modem().deviceId != beforeId))
        emit phoneArrived();
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
