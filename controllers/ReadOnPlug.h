#pragma once
// Reads the phone by itself when one is plugged in, while the user wants it:
// a remembered setting, off until it is turned on. A phone counts as plugged
// in when the watcher lists a device it did not list before, once the list
// has rested for a second: a phone that comes and goes within that second,
// or whose plugging brings several events, starts one read. While another
// command runs, the read waits for it to end. Choosing another port is no
// plugging: the ports the choice lists count as known. Nothing here knows
// whether the window is shown or hidden in the notification area.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <set>

namespace qb {

class CommandState;
class PhoneWatcher;
class SettingsStore;

class ReadOnPlug : public QObject {
    Q_OBJECT
  public:
    // The phones the watcher lists now are not new.
    ReadOnPlug(PhoneWatcher& watcher, CommandState& commands, SettingsStore& settings,
               QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    // Remembered in the settings; turning it off drops a read still waiting.
    void setEnabled(bool enabled);
    // How long the watcher's list must rest before a newcomer counts.
    void setSettleTime(int milliseconds) { m_settle.setInterval(milliseconds); }
    int settleTime() const { return m_settle.interval(); }
    // A phone came and its read waits for the running command.
    bool isWaiting() const { return m_waiting; }

  signals:
    // A read is to start now: a new phone is listed and no command runs.
    void readDue();

  private:
    std::set<uint32_t> listedDevices() const;
    void listSettled();
    void startWhenIdle();

    PhoneWatcher& m_watcher;
    CommandState& m_commands;
    SettingsStore& m_settings;
    std::set<uint32_t> m_known; // listed when the list last rested
    QTimer m_settle;
    bool m_enabled = false;
    bool m_waiting = false;
};

} // namespace qb
