#include "controllers/ReadOnPlug.h"

#include "controllers/CommandState.h"
#include "models/SettingsStore.h"
#include "phonelink/PhoneWatcher.h"

#include <algorithm>
#include <iterator>

namespace qb {

ReadOnPlug::ReadOnPlug(PhoneWatcher& watcher, CommandState& commands, SettingsStore& settings,
                       QObject* parent)
    : QObject(parent), m_watcher(watcher), m_commands(commands), m_settings(settings),
      m_known(listedDevices()), m_enabled(settings.number(Setting::ReadOnPlug, 0) == 1) {
    m_settle.setObjectName(QStringLiteral("readOnPlugSettle"));
    m_settle.setSingleShot(true);
    m_settle.setInterval(1000);
    // Every arrival and removal starts the second of rest again.
    const auto restart = [this] { m_settle.start(); };
    connect(&watcher, &PhoneWatcher::phoneArrived, this, restart);
    connect(&watcher, &PhoneWatcher::phoneRemoved, this, restart);
    connect(&m_settle, &QTimer::timeout, this, &ReadOnPlug::listSettled);
    // A port chosen by hand is no phone plugged in: what it lists is known.
    connect(&watcher, &PhoneWatcher::portsReplaced, this, [this] {
        m_settle.stop();
        m_waiting = false;
        m_known = listedDevices();
    });
    connect(&commands, &CommandState::busyChanged, this, [this](bool busy) {
        // Once the ending command's own follow-ups have started, if any.
        if (!busy && m_waiting)
            QTimer::singleShot(0, this, &ReadOnPlug::startWhenIdle);
    });
}

void ReadOnPlug::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_settings.setNumber(Setting::ReadOnPlug, enabled ? 1 : 0);
    if (!enabled)
        m_waiting = false;
}

std::set<uint32_t> ReadOnPlug::listedDevices() const {
    std::set<uint32_t> devices;
    PhonePortList& ports = m_watcher.ports();
    for (int i = 0; i < ports.count(); ++i)
        devices.insert(ports.at(i)->modem().deviceId);
    return devices;
}

void ReadOnPlug::listSettled() {
    const std::set<uint32_t> listed = listedDevices();
    std::vector<uint32_t> newcomers;
    std::set_difference(listed.begin(), listed.end(), m_known.begin(), m_known.end(),
                        std::back_inserter(newcomers));
    // Known whether the setting is on or not: turning it on later does not
    // read a phone that was plugged in long before.
    m_known = listed;
    if (newcomers.empty() || !m_enabled)
        return;
    m_waiting = true;
    startWhenIdle();
}

void ReadOnPlug::startWhenIdle() {
    if (!m_waiting || m_commands.isBusy())
        return;
    m_waiting = false;
    // The phone may have gone again while the other command ran.
    if (m_enabled && m_watcher.count() > 0)
        emit readDue();
}

} // namespace qb
