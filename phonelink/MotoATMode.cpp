#include "phonelink/MotoATMode.h"

#include <QSocketNotifier>

namespace qb {

TMotoATMode::TMotoATMode(QObject* owner)
    : TMotoATMode(&TMotoATModemList::enumerateModems,
                  RegisterUSBDeviseNotification(GUID_DEVINTERFACE_USB_DEVICE), owner)
{
}

TMotoATMode::TMotoATMode(TMotoATModemList::Enumerator enumerate,
                         std::unique_ptr<UsbDeviseMonitor> monitor, QObject* owner)
    : QObject(owner), m_list(std::move(enumerate))
{
    m_list.setPortRemoved([this](TMotoATModemItem* port) { emit portRemoved(port); });
    // Without a monitor the list stays as it was filled; nothing is reported.
    m_monitor = std::move(monitor);
    if (m_monitor) {
        m_notifier = new QSocketNotifier(m_monitor->fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &TMotoATMode::onMonitorReadable);
    }
}

TMotoATMode::~TMotoATMode()
{
    // Receivers may already be half destroyed when the owner window goes.
    m_list.setPortRemoved({});
}

void TMotoATMode::DeviceChanged(const std::string& action)
{
    if (action != "add" && action != "remove")
        return;
    m_list.Refresh();
    const Notify& callback = action == "add" ? m_onArrival : m_onRemove;
    if (callback)
        callback(*this);
}

void TMotoATMode::onMonitorReadable()
{
    // A failing refresh or callback must not take the event loop down; the
    // list is brought into line again by the next event.
    try {
        for (const std::string& action : m_monitor->takeActions())
            DeviceChanged(action);
    } catch (...) {
    }
}

} // namespace qb
