#pragma once
// The device watcher: keeps the list of the phone's modem ports current while
// the program runs, from udev's tty events on the Qt event loop.
#include "phonelink/MotoATModemList.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace qb {

class TMotoATMode : public QObject {
    Q_OBJECT
public:
    using Notify = std::function<void(TMotoATMode&)>;

    // Enumerates the phone's modem ports and watches udev for changes.
    explicit TMotoATMode(QObject* owner = nullptr);
    // The same with another enumeration and monitor (null: no events).
    TMotoATMode(TMotoATModemList::Enumerator enumerate, std::unique_ptr<UsbDeviseMonitor> monitor,
                QObject* owner = nullptr);
    ~TMotoATMode() override;

    const std::string& About() const { return m_about; }
    void SetAbout(std::string about) { m_about = std::move(about); }
    void SetOnArrival(Notify callback) { m_onArrival = std::move(callback); }
    void SetOnRemove(Notify callback) { m_onRemove = std::move(callback); }

    int32_t DeviseCount() const { return m_list.Count(); }
    TMotoATModemList& List() { return m_list; }

    // "add" refreshes and calls OnArrival, "remove" refreshes and calls
    // OnRemove; other actions are ignored.
    virtual void DeviceChanged(const std::string& action);

signals:
    // Emitted just before a port of the list is destroyed; drop any reference to it.
    void portRemoved(qb::TMotoATModemItem* port);

private:
    void onMonitorReadable();

    std::string m_about;
    std::unique_ptr<UsbDeviseMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
    Notify m_onArrival;
    Notify m_onRemove;
    TMotoATModemList m_list;
};

} // namespace qb
