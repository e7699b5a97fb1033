#pragma once
// The archive's commands: reading the archive and the phonebook again,
// deleting chosen records of a folder or every archived message, and importing
// a P2kTools archive. All file work runs as jobs through the one CommandState,
// off the window's thread; each hands the archive back read again (an
// ArchiveReload), and that is moved into the Workspace here, in one place.
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveTypes.h"
#include "archive/Workspace.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace qb {

class ArchiveChangeJob;
struct ArchiveReload;
class CommandState;
class UserDialogs;

class ArchiveController : public QObject {
    Q_OBJECT
  public:
    ArchiveController(Workspace& workspace, CommandState& commands, UserDialogs& dialogs,
                      QObject* parent = nullptr);

    // Reads the folder files and Phonebook.pbk again (at start-up, after a
    // phone read); the captions follow, a failure is shown. False when
    // another command runs.
    bool reloadArchive();
    // Removes records (numbers from 1, as the list rows carry them) from the
    // folder's file, nothing when one no longer holds every line the archive
    // in memory, which the list was filled from, has for it. False when
    // another command runs.
    bool deleteRecords(FolderKind folder, const std::vector<int>& records);
    // Moves the three folder files to the trash (removes them where there is
    // none); asks nothing; the message panel says what became of each. False
    // when another command runs.
    bool deleteAll();
    // Appends the P2kTools archive `source` to the archive Inbox.
    bool importArchive(const QString& source);

  signals:
    // The archive in the Workspace was read again (or the attempt failed).
    void archiveReloaded();
    // The captions of the archive's Inbox, Outbox and Draft nodes.
    void archiveCaptionsChanged(const QStringList& captions);
    // The records left the folder file; the list drops their rows.
    void recordsDeleted(FolderKind folder, const std::vector<int>& records);
    // The folder files changed beyond what rows of the list know (read again,
    // wiped, imported into): a listed archive folder is stale.
    void archiveReplaced();
    // What a command did, for the message panel: where "delete all" put the
    // folder files, what an import took and left out.
    void noted(const QString& note);
    // The archive in memory went to a job (the Workspace holds none meanwhile),
    // or came back from it, read again or not.
    void archiveLent(bool lent);

  private:
    // Starts the job `makeJob` makes of the archive in memory; `changed` runs
    // once the files have changed and the archive has been read again.
    template <class J>
    bool runChange(const std::function<std::unique_ptr<J>(Archive)>& makeJob,
                   const std::function<void(J&)>& changed);
    // Takes the archive back; true when the files were read again.
    bool changeEnded(ArchiveChangeJob& job);
    void takeReload(ArchiveReload reload);
    void showCaptions();

    Workspace& m_workspace;
    CommandState& m_commands;
    UserDialogs& m_dialogs;
    bool m_lent = false;
};

} // namespace qb
