#include "archive/ArchiveJobs.h"

#include "archive/ArchiveDeletion.h"
#include "archive/P2kToolsImport.h"
#include "core/FileStore.h"

#include <new>

namespace qb {

ArchiveChangeJob::ArchiveChangeJob(QString workDir, Archive current, Change change,
                                   HideProgress hideProgress, bool withPhonebook, QObject* parent)
    : Job(parent), m_workDir(std::move(workDir)), m_change(std::move(change)),
      m_hideProgress(std::move(hideProgress)), m_withPhonebook(withPhonebook) {
    m_reload.archive = std::move(current);
}

const MaybeFailure& ArchiveChangeJob::failure() const {
    return m_changeFailure ? m_changeFailure : m_reload.failure;
}

void ArchiveChangeJob::start() {
    m_worker.start([this](Cancellation& cancel) { run(cancel); });
}

void ArchiveChangeJob::run(Cancellation& cancel) {
    try {
        changeAndReload(cancel);
    } catch (const std::bad_alloc&) {
        // Files are replaced whole or not at all, so nothing half-written remains.
        m_changeFailure = Failure::outOfMemory();
    }
    if (m_hideProgress)
        m_hideProgress(progress());
}

void ArchiveChangeJob::changeAndReload(Cancellation& cancel) {
    if (m_change) {
        m_changeFailure = m_change(progress(), cancel);
        if (m_changeFailure || cancel.stopped())
            return;
        m_changed = true;
    } else if (cancel.stopsHere()) {
        return;
    }
    // Once a file is replaced the reload always follows, however late a
    // cancel comes: the caller's archive must match the files again.
    m_reload.read = true;
    for (const FolderKind kind : ArchiveFolderKinds) {
        if ((m_reload.failure = reloadFolder(m_workDir, kind, m_reload.archive.folder(kind))))
            break;
    }
    if (m_withPhonebook) {
        Phonebook phonebook;
        const bool present = nameTaken(resolveInDir(m_workDir, PhonebookFileName));
        if ((m_reload.phonebookFailure = loadPhonebook(m_workDir, phonebook)) || !present)
            return;
        m_reload.phonebook = std::move(phonebook);
    }
}

ReloadJob::ReloadJob(QString workDir, Archive current, QObject* parent)
    : ArchiveChangeJob(std::move(workDir), std::move(current), {}, {}, true, parent) {}

ImportJob::ImportJob(QString workDir, QString source, Archive current, QObject* parent)
    : ArchiveChangeJob(
          workDir, std::move(current),
          [workDir, source = std::move(source), summary = &m_summary](Progress& progress,
                                                                      Cancellation& cancel) {
              return importP2kToolsArchive(workDir, source, progress, &cancel, summary);
          },
          {}, false, parent) {}

DeleteRecordsJob::DeleteRecordsJob(QString workDir, FolderKind folder,
                                   std::vector<ChosenRecord> records, Archive current,
                                   QObject* parent)
    : ArchiveChangeJob(
          workDir, std::move(current),
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
          false, parent) {}

DeleteAllJob::DeleteAllJob(QString workDir, Archive current, QObject* parent)
    : ArchiveChangeJob(
          workDir, std::move(current),
          [workDir, report = &m_report](Progress&, Cancellation& cancel) {
              *report = deleteAllFolderFiles(workDir, &cancel);
              return report->failure;
          },
          {}, false, parent) {}

} // namespace qb
