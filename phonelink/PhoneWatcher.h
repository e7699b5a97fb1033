#pragma once
// The device watcher: keeps the list of the phone's modem ports current while
// the program runs, from udev's tty events on the Qt event loop. It lists the
// USB phones found by themselves, or the one port the user chose by hand.
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

    // Lists only the port at `path` (a device node or a link to one), whether
    // or not it is a USB phone; an empty path lists the phones found by
    // themselves again. The list is filled afresh and portsReplaced() tells.
    void followPort(const std::string& path);
    // The port followed; empty while the phones found are listed.
    const std::string& followedPort() const { return m_followed; }
    // Looks at the followed port again, as udev tells nothing of a tty that
    // no USB device carries (a Bluetooth port bound, a pty): emits
    // phoneArrived or phoneRemoved when it came or went.
    void recheckFollowedPort();

  signals:
    void phoneArrived();
    void phoneRemoved();
    // The ports listed now stand for another choice of port, not for a phone
    // plugged in or out.
    void portsReplaced();
    // Emitted just before a port of the list is destroyed; drop any reference to it.
    void portRemoved(qb::PhonePort* port);

  private:
    void onMonitorReadable();

    std::unique_ptr<UdevMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
    PhonePortList m_list;
    PhonePortList::Enumerator m_found; // the phones found by themselves
    std::string m_followed;
};

} // namespace qb
