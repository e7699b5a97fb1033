#include "controllers/ExportController.h"

#include "controllers/CommandState.h"
#include "controllers/UserDialogs.h"
#include "export/ExportJob.h"
#include "export/smartphone/SmartphoneExportJob.h"

namespace qb {

ExportController::ExportController(Workspace& workspace, CommandState& commands,
                                   UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_commands(commands), m_dialogs(dialogs) {}

bool ExportController::exportRows(std::vector<std::string> templateLines,
                                  std::vector<ExportRow> rows, ExportSettings settings) {
    if (m_commands.isBusy())
        return false;
    auto job =
        std::make_unique<ExportJob>(std::move(templateLines), std::move(rows), std::move(settings));
    connect(&job->progress(), &ProgressSignal::changed, this, &ExportController::exportProgress);
    return m_commands.run(std::move(job), [this](const ExportJob& job) {
        // The dialog is enabled again before the message: a box over a
        // disabled dialog would be disabled too. Files written before a
        // failure stay, as they always did.
        emit exportFinished(!job.failure() && !job.cancelled());
        if (job.failure() && !job.cancelled())
            m_dialogs.fail(job.failure()->text());
    });
}

bool ExportController::exportForSmartphone(const QString& targetDir) {
    return m_commands.run(std::make_unique<SmartphoneExportJob>(m_workspace.workDir, targetDir),
                          [this](SmartphoneExportJob& job) { smartphoneExportEnded(job); });
}

void ExportController::smartphoneExportEnded(const SmartphoneExportJob& job) {
    if (job.cancelled())
        return;
    // A damaged phonebook is the user's to mend, not a file failure: the
    // message panel says it.
    if (job.result().phonebookDamaged)
        emit smartphoneExported(job.result().failure->text());
    else if (job.result().failure)
        m_dialogs.fail(job.result().failure->text());
    else
        emit smartphoneExported(smartphoneExportSummary(job.result()));
}

} // namespace qb
