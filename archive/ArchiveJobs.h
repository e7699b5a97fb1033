#pragma once
// The archive's file commands as jobs on a worker thread: reading the archive
// again (at start-up and after a phone read), importing a P2kTools archive,
// deleting records of a folder file and deleting every folder file, the last
// three followed by a reload. A job never touches the Workspace: it is given
// the archive in memory, reads the files over it, and hands it back in an
// ArchiveReload that the caller moves into the Workspace on its own thread.
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "archive/P2kToolsImport.h"
#include "core/Failure.h"
#include "core/Job.h"
#include "core/JobWorker.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qb {

// What every archive job hands back, whatever happened: the archive it was
// given, with the folders it read again replaced (all three unless one could
// not be read: then those before it, as a reload in place leaves them), and
// the phonebook when it was asked to read that too.
struct ArchiveReload {
    Archive archive;
    bool read = false;    // the files were read again; else `archive` is as it was given
    MaybeFailure failure; // the folder file that could not be read
    std::optional<Phonebook> phonebook; // Phonebook.pbk as it is, when read and present
    MaybeFailure phonebookFailure;
};

// A change to the archive files (none for a plain reload), then the reload. A
// cancelled or failed change writes nothing and is not followed by a reload.
class ArchiveChangeJob : public Job {
    Q_OBJECT
  public:
    void start() override;
    void cancel() override { m_worker.cancel(); }

    // The change's own failure (then the files are as they were and nothing
    // was reloaded) or the reload's.
    const MaybeFailure& failure() const;
    // Stopped before anything was written.
    bool cancelled() const { return m_worker.stopped(); }
    // The change was made; the reload followed, even if it failed.
    bool changed() const { return m_changed; }
    // Valid once finished(); hands the archive back, read again or not.
    ArchiveReload takeReload() { return std::move(m_reload); }

  protected:
    // Runs on the worker thread; it must own (capture by value) all it reads.
    using Change = std::function<MaybeFailure(Progress&, Cancellation&)>;
    // `hideProgress` runs last, after the reload too.
    using HideProgress = std::function<void(Progress&)>;
    ArchiveChangeJob(QString workDir, Archive current, Change change, HideProgress hideProgress,
                     bool withPhonebook, QObject* parent);

  private:
    void run(Cancellation& cancel);
    void changeAndReload(Cancellation& cancel);

    const QString m_workDir;
    Change m_change;
    HideProgress m_hideProgress;
    const bool m_withPhonebook;
    MaybeFailure m_changeFailure;
    bool m_changed = false;
    ArchiveReload m_reload;
    JobWorker m_worker{*this}; // last: destroyed first, waiting for the work
};

// Reads the folder files and Phonebook.pbk again (reloadArchive, loadPhonebook).
class ReloadJob : public ArchiveChangeJob {
    Q_OBJECT
  public:
    ReloadJob(QString workDir, Archive current, QObject* parent = nullptr);
};

// Appends a P2kTools archive to Inbox.msg (importP2kToolsArchive).
class ImportJob : public ArchiveChangeJob {
    Q_OBJECT
  public:
    ImportJob(QString workDir, QString source, Archive current = {}, QObject* parent = nullptr);
    // What was imported and left out; valid once changed().
    const ImportSummary& summary() const { return m_summary; }

  private:
    ImportSummary m_summary;
};

// Removes chosen records of one folder file (deleteArchiveRecords), nothing
// when one of them no longer holds what was shown.
// The progress counts the records removed, over the number asked for.
class DeleteRecordsJob : public ArchiveChangeJob {
    Q_OBJECT
  public:
    DeleteRecordsJob(QString workDir, FolderKind folder, std::vector<ChosenRecord> records,
                     Archive current = {}, QObject* parent = nullptr);
};

// Moves every folder file to the trash (deleteAllFolderFiles).
class DeleteAllJob : public ArchiveChangeJob {
    Q_OBJECT
  public:
    DeleteAllJob(QString workDir, Archive current = {}, QObject* parent = nullptr);
    // What became of each folder file; valid once changed().
    const WipeReport& report() const { return m_report; }

  private:
    WipeReport m_report;
};

} // namespace qb
