#pragma once
// The phone's commands without widgets: following the device watcher (the
// connection status and the active port), the read and the deletion on the
// phone. Jobs run through the one CommandState, which lets the user stop
// them; results go to the user through UserDialogs and to the window through
// signals.
#include "archive/ArchiveTypes.h"
#include "controllers/ReadReport.h"
#include "reading/DeleteOnPhoneJob.h"
#include "reading/PhoneReadJob.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qb {

class AtPort;
class CommandState;
class PhonePort;
class PhoneWatcher;
class UserDialogs;
struct Workspace;

class PhoneController : public QObject {
    Q_OBJECT
  public:
    PhoneController(Workspace& workspace, PhoneWatcher& watcher, CommandState& commands,
                    UserDialogs& dialogs, QObject* parent = nullptr);

    // The port the commands talk to: the watcher's first, none once it is gone.
    PhonePort* activePort() const { return m_activePort; }
    bool isConnected() const;

    // Takes the watcher's current list (start-up, the connect command, the
    // status timer); emits connectionChanged.
    void refreshConnection();
    // The read command: opens the phone plugged in now, reads, merges, reports.
    // Every read asked for, also one whose phone cannot be opened, ends with
    // readReported(); the message boxes tell only the user who pressed the button.
    void readPhone(ReadStart start = ReadStart::ByUser);
    // Deletes the chosen rows of a phone folder on the phone plugged in now
    // (rows in list order).
    void deleteOnPhone(FolderKind folder, std::vector<DeleteRow> rows);
    // Closes every listed port that is open (at exit).
    void closePorts();
    // The port deletion talks to instead of the active one (a scripted phone in tests).
    void setDeletionPort(AtPort* port) { m_deletionPort = port; }

  signals:
    // connected: at least one modem port listed; phoneCaption: the product
    // name for the phone node, empty while disconnected (the node keeps its caption).
    void connectionChanged(bool connected, const QString& phoneCaption);
    // A read ended with the phone still usable: expand the phone node.
    void readEnded();
    // The three phone folders' counts may have changed.
    void phoneCaptionsChanged();
    // A read merged into the archive files and wrote the phonebook: reload both.
    void archiveChanged();
    // Positions of the read result changed: a phone folder on show is listed afresh.
    void phoneFolderChanged();
    // These ReadResult positions of `folder` were deleted on the phone: remove their rows.
    void deletedOnPhone(qb::FolderKind folder, const std::vector<int>& positions);
    // A note for the message panel (a cancelled command, an empty phone).
    void note(const QString& text);
    // How far the read has come, in words rather than on the bar.
    void readStageReached(qb::ReadStage stage, int done, int total);
    // How a read ended.
    void readReported(const qb::ReadReport& report);

  private:
    // The port of the phone plugged in now, opened; none, with what the user
    // is told in `refusal`, when it cannot be opened.
    AtPort* openPhone(AtPort* port, QString& refusal);
    PhonePort* currentPort();
    void readEnd(const ReadJob& job, ReadReport report);
    static std::optional<PhoneDialogue> dialogueOf(const PhonePort* port);
    void tellLeftOut(const ReadReport& report);
    // A read that ends with `text`: a box for the user who asked, as
    // information or as a failure (`critical`).
    void readFailed(ReadReport& report, const QString& text, bool critical);
    // The port a read or a deletion used: the phone is left to other programs
    // (another Quillbox, the command line) between commands.
    void releasePort();
    void deletionEnd(FolderKind folder, const DeleteOnPhoneJob& job);
    std::string activeDevNode() const;
    void forgetPort(PhonePort* port);

    Workspace& m_workspace;
    PhoneWatcher& m_watcher;
    CommandState& m_commands;
    UserDialogs& m_dialogs;
    PhonePort* m_activePort = nullptr; // cleared by the watcher's portRemoved
    QPointer<AtPort> m_deletionPort;
    QPointer<AtPort> m_portInUse;
};

} // namespace qb
