#pragma once
// The device watcher: keeps the list of the phone's modem ports current while
// the program runs, from udev's tty events on the Qt event loop.
#include "phonelink/PhonePortList.h"

#include <QObject>

#include <memory>
#include <string>

class QSocketNotifier;

namespace qb {

class PhoneWatcher : public QObject {
    Q_OBJECT
  public:
    // Enumerates the phone's modem ports and watches udev for changes.
    explicit PhoneWatcher(QObject* owner = nullptr);
    // The same with another enumeration and monitor (null: no events).
    PhoneWatcher(PhonePortList::Enumerator enumerate, std::unique_ptr<UdevMonitor> monitor,
                 QObject* owner = nullptr);
    ~PhoneWatcher() override;

    int32_t count() const { return m_list.count(); }
    PhonePortList& ports() { return m_list; }

    // "add" refreshes and emits phoneArrived; "remove" drops the tty the event
    // names and the ports whose devices are gone, then emits phoneRemoved;
    // other actions are ignored.
    virtual void deviceChanged(const TtyEvent& event);
    void deviceChanged(const std::string& action) { deviceChanged(TtyEvent{action, {}, {}}); }

  signals:
    void phoneArrived();
    void phoneRemoved();
    // Emitted just before a port of the list is destroyed; drop any reference to it.
    void portRemoved(qb::PhonePort* port);

  private:
    void onMonitorReadable();

    std::unique_ptr<UdevMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
    PhonePortList m_list;
};

} // namespace qb
