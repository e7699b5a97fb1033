#pragma once
// The export commands: the chosen list rows through the export template, and
// the whole archive for a modern phone. Both run as jobs through the one
// CommandState; a failure is shown through UserDialogs.
#include "archive/Workspace.h"
#include "core/Progress.h"
#include "export/ExportRun.h"

#include <QObject>
#include <string>
#include <vector>

namespace qb {

class CommandState;
class SmartphoneExportJob;
class UserDialogs;

class ExportController : public QObject {
    Q_OBJECT
  public:
    ExportController(Workspace& workspace, CommandState& commands, UserDialogs& dialogs,
                     QObject* parent = nullptr);

    // Writes `rows` (taken from the list, in its order) through the template.
    // False when another command runs.
    bool exportRows(std::vector<std::string> templateLines, std::vector<ExportRow> rows,
                    ExportSettings settings);
    // Writes sms-backup.xml and contacts.vcf of the archive into `targetDir`.
    bool exportForSmartphone(const QString& targetDir);

  signals:
    // The export's own progress, for the export dialog's bar.
    void exportProgress(const qb::ProgressState& state);
    // The export has ended; `written` when every file was written.
    void exportFinished(bool written);
    // What the smartphone export wrote, or why it wrote nothing when the
    // phonebook is damaged: for the message panel.
    void smartphoneExported(const QString& summary);

  private:
    void smartphoneExportEnded(const SmartphoneExportJob& job);

    Workspace& m_workspace;
    CommandState& m_commands;
    UserDialogs& m_dialogs;
};

} // namespace qb
