#pragma once
// The archive's file commands as jobs: importing a P2kTools archive and
// deleting records of a folder file, each followed by a reload of the archive,
// all on a worker thread. A job never touches the Workspace: once finished()
// has come, the caller moves the reloaded folders into it on its own thread.
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "archive/P2kToolsImport.h"
#include "core/Failure.h"
#include "core/Job.h"
#include "core/JobWorker.h"

#include <QString>
#include <functional>
#include <vector>

namespace qb {

// A change to one folder file, then the reload. A cancelled change writes
// nothing and is not followed by a reload.
class ArchiveChangeJob : public Job {
    Q_OBJECT
  public:
    void start() override;
    void cancel() override { m_worker.cancel(); }

    // The change's own failure (then the file is as it was and nothing was
    // reloaded) or the reload's.
    const MaybeFailure& failure() const { return m_failure; }
    // Stopped before anything was written.
    bool cancelled() const { return m_worker.stopped(); }
    // The folder file was replaced; the reload followed, even if it failed.
    bool changed() const { return m_changed; }
    // The archive reloaded after the change; a folder the reload could not
    // read (see reloadedFolders) is empty here.
    Archive takeArchive() { return std::move(m_archive); }
    // Replaces in `archive` exactly the folders the reload replaced (all three
    // unless it failed), as reloadArchive would have done in place.
    void applyReload(Archive& archive);
    int reloadedFolders() const { return m_reloadedFolders; }

  protected:
    // Runs on the worker thread; it must own (capture by value) all it reads.
    using Change = std::function<MaybeFailure(Progress&, Cancellation&)>;
    // `hideProgress` runs last, after the reload too.
    using HideProgress = std::function<void(Progress&)>;
    ArchiveChangeJob(QString workDir, Change change, HideProgress hideProgress, QObject* parent);

  private:
    void run(Cancellation& cancel);
    void changeAndReload(Cancellation& cancel);

    const QString m_workDir;
    Change m_change;
    HideProgress m_hideProgress;
    MaybeFailure m_failure;
    bool m_changed = false;
    Archive m_archive;
    int m_reloadedFolders = 0;
    JobWorker m_worker{*this}; // last: destroyed first, waiting for the work
};

// Appends a P2kTools archive to Inbox.msg (importP2kToolsArchive).
class ImportJob : public ArchiveChangeJob {
    Q_OBJECT
  public:
    ImportJob(QString workDir, QString source, QObject* parent = nullptr);
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
                     QObject* parent = nullptr);
};

} // namespace qb
