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

void ArchiveController::reloadArchive() {
    const MaybeFailure failure = m_workspace.reloadArchive();
    emit archiveReloaded();
    emit archiveReplaced();
    if (failure)
        m_dialogs.fail(failure->text());
    else
        showCaptions();
}

void ArchiveController::loadPhonebook() {
    if (const MaybeFailure failure = m_workspace.loadPhonebook())
        m_dialogs.fail(failure->text());
}

void ArchiveController::showCaptions() {
    QStringList captions;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        captions << folderCaption(kind, m_workspace.archiveCount(kind));
    emit archiveCaptionsChanged(captions);
}

bool ArchiveController::deleteRecords(FolderKind folder, const std::vector<int>& records) {
    const std::vector<ArchiveRecord>& known = m_workspace.archive.folder(folder).records;
    std::vector<ChosenRecord> chosen;
    for (const int k : records) {
        // A number the archive does not hold matches no record of the file.
        const bool held = k >= 1 && static_cast<std::size_t>(k) <= known.size();
        chosen.emplace_back(k, held ? storedLines(folder, known[std::size_t(k - 1)])
                                    : std::vector<std::string>());
    }
    auto* job = new DeleteRecordsJob(m_workspace.workDir, folder, std::move(chosen));
    ProgressSignal& progress = job->progress();
    progress.setTextVisible(false);
    progress.setPosition(0);
    progress.setMaximum(static_cast<int>(records.size()));
    progress.setVisible(true);
    // The rows go only once the file has lost their records.
    return runChange(job, [this, folder, records] {
        emit recordsDeleted(folder, records);
    });
}

bool ArchiveController::deleteAll() {
    // Quick enough to need no job, but refused like one while a job works on the files.
    if (m_commands.isBusy())
        return false;
    const WipeOutcome outcome = deleteAllFolderFiles(m_workspace.workDir);
    reloadArchive();
    emit noted(outcome == WipeOutcome::Trashed ? tr("Сообщения архива перемещены в корзину.")
                                                    : tr("Корзины нет: сообщения архива удалены."));
    return true;
}

bool ArchiveController::importArchive(const QString& source) {
    // Inbox.msg may be new: rows listed before would number other records.
    auto* job = new ImportJob(m_workspace.workDir, source);
    return runChange(job, [this, job] {
        emit noted(importSummaryText(job->summary()));
        emit archiveReplaced();
    });
}

bool ArchiveController::runChange(ArchiveChangeJob* job, std::function<void()> changed) {
    return m_commands.run(job, [this, changed = std::move(changed)](Job& done) {
        auto& change = static_cast<ArchiveChangeJob&>(done);
        change.progress().setVisible(false);
        change.progress().setTextVisible(true);
        if (!change.changed()) {
            // Nothing was written: the file keeps its records, the rows stay.
            if (change.failure() && !change.cancelled())
                m_dialogs.fail(change.failure()->text());
            // The rows no longer match the file: the list is filled afresh.
            if (change.failure() && change.failure()->text() == changedRecordsFailure().text())
                reloadArchive();
            return;
        }
        takeReload(change);
        if (changed)
            changed();
    });
}

void ArchiveController::takeReload(ArchiveChangeJob& job) {
    job.applyReload(m_workspace.archive);
    emit archiveReloaded();
    if (job.failure())
        m_dialogs.fail(job.failure()->text());
    else
        showCaptions();
}

} // namespace qb
