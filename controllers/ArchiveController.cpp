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
    return runChange(new ReloadJob(m_workspace.workDir, std::move(m_workspace.archive)),
                     [this] { emit archiveReplaced(); });
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
    auto* job = new DeleteRecordsJob(m_workspace.workDir, folder, std::move(chosen),
                                     std::move(m_workspace.archive));
    ProgressSignal& progress = job->progress();
    progress.setTextVisible(false);
    progress.setPosition(0);
    progress.setMaximum(static_cast<int>(records.size()));
    progress.setVisible(true);
    // The rows go only once the file has lost their records.
    return runChange(job, [this, folder, records] { emit recordsDeleted(folder, records); });
}

bool ArchiveController::deleteAll() {
    auto* job = new DeleteAllJob(m_workspace.workDir, std::move(m_workspace.archive));
    return runChange(job, [this, job] {
        emit noted(wipeReportText(job->report()));
        emit archiveReplaced();
    });
}

bool ArchiveController::importArchive(const QString& source) {
    // Inbox.msg may be new: rows listed before would number other records.
    auto* job = new ImportJob(m_workspace.workDir, source, std::move(m_workspace.archive));
    return runChange(job, [this, job] {
        emit noted(importSummaryText(job->summary()));
        emit archiveReplaced();
    });
}

bool ArchiveController::runChange(ArchiveChangeJob* job, std::function<void()> changed) {
    if (m_commands.isBusy()) {
        // The job holds the archive it was given: back it goes, untouched.
        m_workspace.archive = job->takeReload().archive;
        delete job;
        return false;
    }
    return m_commands.run(job, [this, changed = std::move(changed)](Job& done) {
        changeEnded(static_cast<ArchiveChangeJob&>(done), changed);
    });
}

void ArchiveController::changeEnded(ArchiveChangeJob& job, const std::function<void()>& changed) {
    job.progress().setVisible(false);
    job.progress().setTextVisible(true);
    const MaybeFailure failure = job.failure();
    const bool refused = failure && failure->text() == changedRecordsFailure().text();
    ArchiveReload reload = job.takeReload();
    const bool read = reload.read;
    takeReload(std::move(reload));
    if (read) {
        if (changed)
            changed();
        return;
    }
    // Nothing was written: the files keep their records, the rows stay.
    if (failure && !job.cancelled())
        m_dialogs.fail(failure->text());
    // The rows no longer match the file: the archive is read again, and the
    // list filled afresh with what it holds.
    if (refused)
        reloadArchive();
}

void ArchiveController::takeReload(ArchiveReload reload) {
    m_workspace.archive = std::move(reload.archive);
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
