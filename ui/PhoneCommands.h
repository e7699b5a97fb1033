#pragma once
// The phone's side of the window: the device watcher and the active port, the
// connection status, the read and deleting on the phone. These still talk to
// the phone on the window's thread, as they did inside the window; they are
// kept together here, behind signals, so that the phone controller can take
// their place in one step.
#include "archive/ArchiveTypes.h"
#include "archive/Workspace.h"
#include "reading/DeleteOnPhone.h"
#include "reading/PhoneLine.h"

#include <QObject>
#include <QString>
#include <vector>

namespace qb {
class PhonePort;
class PhoneWatcher;
class Progress;
class UserDialogs;
} // namespace qb

namespace qb::ui {

class PhoneCommands : public QObject {
    Q_OBJECT
  public:
    PhoneCommands(Workspace& workspace, UserDialogs& dialogs, Progress& progress,
                  QObject* parent = nullptr);

    PhonePort* activePort() const { return m_activePort; }
    // The port deletion on the phone talks to: the active port unless replaced
    // (the tests put a scripted phone here).
    void setDeletionPort(PortSource port) { m_deletionPort = std::move(port); }

    // Takes the watcher's first port as the active one, or none.
    void refreshConnectionStatus();
    // Reads every message and the phonebook into the Workspace and the archive.
    void readPhone();
    // Deletes the rows' messages of a phone folder on the phone.
    void deleteOnPhone(FolderKind folder, const std::vector<DeleteRow>& rows);
    void closePorts();

  signals:
    // `location`: the USB product name of the active port.
    void connected(const QString& location);
    void disconnected();
    void readStarted();
    // The read has ended; `readSomething` when a folder holds messages now, so
    // the archive and the phonebook have changed.
    void readFinished(bool readSomething);
    // The records (their k in the phone folder) are gone from the phone.
    void deletedOnPhone(const std::vector<int>& records);

  private:
    bool openActivePort();
    PortSource portSource();
    bool readSomething() const;

    Workspace& m_workspace;
    UserDialogs& m_dialogs;
    Progress& m_progress;
    // The watcher owns the ports; the active port only refers to one of them
    // and becomes null the moment the watcher destroys it.
    PhoneWatcher* m_watcher = nullptr;
    PhonePort* m_activePort = nullptr;
    PortSource m_deletionPort;
};

} // namespace qb::ui
