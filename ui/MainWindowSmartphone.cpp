// The main window's export for a modern phone: both files into a folder the
// user picks, the counts in the message panel.
#include "ui/MainWindow.h"

#include "export/smartphone/SmartphoneExport.h"

#include <QFileDialog>

void MainWindow::exportForSmartphone() {
    if (isBusy())
        return;
    const QString dir = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Экспорт для смартфона"), m_workspace.workDir);
    if (dir.isEmpty())
        return;
    const qb::SmartphoneExport result = qb::exportForSmartphone(m_workspace.workDir, dir);
    if (reportFailure(result.failure))
        return;
    setMessagePanel(qb::smartphoneExportSummary(result));
}
