#pragma once
// Which port the phone is on: the USB phone found by itself (any maker's
// CDC-ACM modem), or a port the user chose by hand (a modem stick holding a
// SIM card, a Bluetooth serial port, any tty), remembered in the settings.
// The watcher follows the choice, so the read, the read on plugging and the
// deletion all talk to the port chosen. A chosen port that is not there
// leaves the program without a phone, and says so.
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace qb {

class CommandState;
class PhoneWatcher;
class SettingsStore;

// The path of a port the user typed: a bare name lives under /dev
// ("ttyUSB0", "serial/by-id/…"); none for blank text.
std::optional<QString> typedPortPath(const QString& typed);

// One port offered for the choice.
struct OfferedPort {
    QString path;
    bool present = true; // false: chosen earlier and not there now
    bool operator==(const OfferedPort&) const = default;
};
// The ports found now under /dev, then the chosen one when it is not among
// them (a link, a pty, or a port not there: `chosenThere` says which).
std::vector<OfferedPort> offeredPorts(const std::vector<QString>& found, const QString& chosen,
                                      bool chosenThere);

// What the status panel shows of the phone: its text and the longer hint.
struct ConnectionCaption {
    QString status;
    QString hint;
};
ConnectionCaption connectionCaption(bool connected, const QString& chosenPort);
// The message panel's word on a chosen port that is not there.
QString missingPortText(const QString& path);

class PortChoice : public QObject {
    Q_OBJECT
  public:
    // Takes the remembered choice and has the watcher follow it.
    PortChoice(PhoneWatcher& watcher, SettingsStore& settings, CommandState& commands,
               QObject* parent = nullptr);

    // The chosen port's path; empty while the USB phone is found by itself.
    QString chosenPort() const { return m_chosen; }
    bool isAutomatic() const { return m_chosen.isEmpty(); }

    // Both remember the choice and emit choiceChanged() when it changes. They
    // are refused (false) while a command runs: its port must stay as it is.
    bool chooseAutomatic() { return choose(QString()); }
    bool choosePort(const QString& path) { return choose(path); }

    // The ports to offer now: those under /dev, and the chosen one.
    std::vector<OfferedPort> offered() const;
    // A chosen port is looked at again (the status timer): a tty that no USB
    // device carries comes and goes without a word from udev.
    void recheck();

  signals:
    void choiceChanged();

  private:
    bool choose(const QString& path);

    PhoneWatcher& m_watcher;
    SettingsStore& m_settings;
    CommandState& m_commands;
    QString m_chosen;
};

} // namespace qb
