#include "archive/ArchiveJobs.h"

#include "archive/ArchiveDeletion.h"
#include "archive/P2kToolsImport.h"

#include <new>

namespace qb {

ArchiveChangeJob::ArchiveChangeJob(QString workDir, Change change, HideProgress hideProgress,
                                   QObject* parent)
    : Job(parent), m_workDir(std::move(workDir)), m_change(std::move(change)),
      m_hideProgress(std::move(hideProgress)) {}

void ArchiveChangeJob::start() {
    m_worker.start([this](Cancellation& cancel) { run(cancel); });
}

void ArchiveChangeJob::run(Cancellation& cancel) {
    try {
        changeAndReload(cancel);
    } catch (const std::bad_alloc&) {
        // Files are replaced whole or not at all, so nothing half-written remains.
        m_failure = Failure::outOfMemory();
    }
    if (m_hideProgress)
        m_hideProgress(progress());
}

void ArchiveChangeJob::changeAndReload(Cancellation& cancel) {
    m_failure = m_change(progress(), cancel);
    if (m_failure || cancel.stopped())
        return;
    m_changed = true;
    // Once the file is replaced the reload always follows, however late a
    // cancel comes: the caller's archive must match the files again.
    for (const FolderKind kind : ArchiveFolderKinds) {
        if ((m_failure = reloadFolder(m_workDir, kind, m_archive.folder(kind))))
            return;
        ++m_reloadedFolders;
    }
}

void ArchiveChangeJob::applyReload(Archive& archive) {
    for (int n = 0; n < m_reloadedFolders; ++n) {
        const FolderKind kind = ArchiveFolderKinds[n];
        archive.folder(kind) = std::move(m_archive.folder(kind));
    }
}

ImportJob::ImportJob(QString workDir, QString source, QObject* parent)
    : ArchiveChangeJob(
          workDir,
          [workDir, source = std::move(source), summary = &m_summary](Progress& progress,
                                                                      Cancellation& cancel) {
              return importP2kToolsArchive(workDir, source, progress, &cancel, summary);
          },
          {}, parent) {}

DeleteRecordsJob::DeleteRecordsJob(QString workDir, FolderKind folder,
                                   std::vector<ChosenRecord> records, QObject* parent)
    : ArchiveChangeJob(
          workDir,
          [workDir, folder, records = std::move(records)](Progress& progress,
                                                          Cancellation& cancel) {
              progress.setTextVisible(false);
              progress.setPosition(0);
              progress.setMaximum(static_cast<int>(records.size()));
              progress.setVisible(true);
              return deleteArchiveRecords(workDir, folder, records, progress, &cancel);
          },
          [](Progress& progress) {
              progress.setVisible(false);
              progress.setTextVisible(true);
          },
          parent) {}

} // namespace qb
