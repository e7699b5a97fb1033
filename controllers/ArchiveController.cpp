#include "controllers/ArchiveController.h"

#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveJobs.h"
#include "controllers/ArchiveMessages.h"
#include "controllers/CommandState.h"
#include "controllers/UserDialogs.h"
#include "models/FolderCaptions.h"

namespace qb {

ArchiveController::ArchiveController(Workspace& workspace, CommandState& commands,
                                     UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_commands(commands), m_dialogs(dialogs) {}

bool ArchiveController::reloadArchive() {
    // The list rows number the records of the files as they were.
    return runChange<ReloadJob>(
        [this](Archive current) {
            return std::make_unique<ReloadJob>(m_workspace.workDir, std::move(current));
        },
        [this](ReloadJob&) { emit archiveReplaced(); });
}

void ArchiveController::showCaptions() {
    QStringList captions;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        captions << folderCaption(kind, m_workspace.archiveCount(kind));
    emit archiveCaptionsChanged(captions);
}

bool ArchiveController::deleteRecords(FolderKind folder, const std::vector<int>& records) {
    const ArchiveFolder& known = m_workspace.archive.folder(folder);
    std::vector<ChosenRecord> chosen;
    for (const int k : records) {
        // A number the archive does not hold matches no record of the file.
        const bool held = k >= 1 && k <= known.count();
        chosen.push_back({k, held ? std::optional(toMessage(known.message(k - 1))) : std::nullopt});
    }
    return runChange<DeleteRecordsJob>(
        [&](Archive current) {
            auto job = std::make_unique<DeleteRecordsJob>(m_workspace.workDir, folder,
                                                          std::move(chosen), std::move(current));
            ProgressSignal& progress = job->progress();
            progress.setTextVisible(false);
            progress.setPosition(0);
            progress.setMaximum(static_cast<int>(records.size()));
            progress.setVisible(true);
            return job;
        },
        // The rows go only once the file has lost their records.
        [this, folder, records](DeleteRecordsJob&) { emit recordsDeleted(folder, records); });
}

bool ArchiveController::deleteAll() {
    return runChange<DeleteAllJob>(
        [this](Archive current) {
            return std::make_unique<DeleteAllJob>(m_workspace.workDir, std::move(current));
        },
        [this](DeleteAllJob& job) {
            emit noted(wipeReportText(job.report()));
            emit archiveReplaced();
        });
}

bool ArchiveController::importArchive(const QString& source) {
    // Inbox.msg may be new: rows listed before would number other records.
    return runChange<ImportJob>(
        [&](Archive current) {
            return std::make_unique<ImportJob>(m_workspace.workDir, source, std::move(current));
        },
        [this](ImportJob& job) {
            emit noted(importSummaryText(job.summary()));
            emit archiveReplaced();
        });
}

template <class J>
bool ArchiveController::runChange(const std::function<std::unique_ptr<J>(Archive)>& makeJob,
                                  const std::function<void(J&)>& changed) {
    if (m_commands.isBusy())
        return false;
    // The job reads the files over the archive in memory and hands it back.
    std::unique_ptr<J> job = makeJob(std::move(m_workspace.archive));
    m_lent = true;
    emit archiveLent(true);
    return m_commands.run(std::move(job), [this, changed](J& job) {
        if (changeEnded(job))
            changed(job);
        // Told last, once the rows have followed the change; not when the
        // archive went straight to the next job.
        if (!m_lent)
            emit archiveLent(false);
    });
}

bool ArchiveController::changeEnded(ArchiveChangeJob& job) {
    job.progress().setVisible(false);
    job.progress().setTextVisible(true);
    const MaybeFailure failure = job.failure();
    ArchiveReload reload = job.takeReload();
    const bool read = reload.read;
    takeReload(std::move(reload));
    if (read)
        return true;
    // Nothing was written: the files keep their records, the rows stay.
    if (failure && !job.cancelled())
        m_dialogs.fail(failure->text());
    // The rows no longer match the file: the archive is read again, and the
    // list filled afresh with what it holds.
    if (failure && failure->kind == Failure::Kind::RecordsChanged)
        reloadArchive();
    return false;
}

void ArchiveController::takeReload(ArchiveReload reload) {
    m_workspace.archive = std::move(reload.archive);
    m_lent = false;
    if (!reload.read)
        return;
    if (reload.phonebook)
        m_workspace.phonebook = std::move(*reload.phonebook);
    emit archiveReloaded();
    if (reload.failure)
        m_dialogs.fail(reload.failure->text());
    else
        showCaptions();
    if (reload.phonebookFailure)
        m_dialogs.fail(reload.phonebookFailure->text());
}

} // namespace qb
