#pragma once
// The archive's commands: reading the archive and the phonebook again,
// deleting chosen records of a folder or every archived message, and importing
// a P2kTools archive. File work runs as jobs through the one CommandState;
// the reloaded archive is moved into the Workspace on the window's thread.
#include "archive/ArchiveTypes.h"
#include "archive/Workspace.h"

#include <QObject>
#include <QStringList>
#include <vector>

namespace qb {

class ArchiveChangeJob;
class CommandState;
class UserDialogs;

class ArchiveController : public QObject {
    Q_OBJECT
  public:
    ArchiveController(Workspace& workspace, CommandState& commands, UserDialogs& dialogs,
                      QObject* parent = nullptr);

    // Reads the folder files again; the captions follow, a failure is shown.
    void reloadArchive();
    // Reads Phonebook.pbk again; a failure is shown.
    void loadPhonebook();
    // Removes the records numbered `records` (from 1) from the folder's file.
    // False when another command runs.
    bool deleteRecords(FolderKind folder, std::vector<int> records);
    // Removes the three folder files; asks nothing. False when another command runs.
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

  private:
    bool runChange(ArchiveChangeJob* job, std::function<void()> changed);
    void takeReload(ArchiveChangeJob& job);
    void showCaptions();

    Workspace& m_workspace;
    CommandState& m_commands;
    UserDialogs& m_dialogs;
};

} // namespace qb
