// The main window's archive commands: deleting the listed messages of an
// archive folder or every archived message, and importing a P2kTools archive.
#include "ui/MainWindow.h"

#include "archive/ArchiveDeletion.h"
#include "archive/FolderTree.h"
#include "archive/P2kToolsImport.h"
#include "models/MessageListModel.h"

#include <QFileDialog>

namespace {

const QString ImportFilter = QStringLiteral("Архив P2kTools (*.txt)");

// The P2kTools archive to import, or empty when the user cancels.
QString chooseP2kToolsArchive(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("importDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(ImportFilter);
    dialog.setOption(QFileDialog::HideNameFilterDetails); // shows "Архив P2kTools"
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

// Файл ▸ "Удалить сообщение": only on the archive folder the list shows.
void MainWindow::deleteSelectedInArchive() {
    if (isBusy())
        return;
    const int target = deletionTarget();
    if (qb::isArchiveFolder(target))
        deleteRowsInArchive(qb::folderKindOfNode(target));
}

void MainWindow::deleteRowsInArchive(qb::FolderKind folder) {
    if (isBusy())
        return;
    std::vector<int> records;
    for (const int row : selectedRows())
        records.push_back(m_messages->row(row).record);
    qb::MaybeFailure failure;
    {
        qb::ui::BusyScope busy(*this);
        progress().setTextVisible(false);
        progress().setPosition(0);
        progress().setMaximum(static_cast<int>(records.size()));
        progress().setVisible(true);
        failure = qb::deleteArchiveRecords(m_workspace.workDir, folder, records, progress());
        if (!failure)
            reloadArchive();
        progress().setVisible(false);
        progress().setTextVisible(true);
    }
    if (failure) {
        showFailure(*failure); // the file kept its records, so the rows stay
        return;
    }
    m_messages->removeRecords(std::move(records));
}

// Файл ▸ "Удалить все сообщения": asks nothing; the list keeps its rows until
// another folder is chosen.
void MainWindow::deleteAllInArchive() {
    if (isBusy())
        return;
    qb::deleteAllFolderFiles(m_workspace.workDir);
    reloadArchive();
}

void MainWindow::importArchive() {
    if (isBusy())
        return;
    setMessagePanel(QString());
    const QString source = chooseP2kToolsArchive(this);
    if (source.isEmpty())
        return;
    qb::MaybeFailure failure;
    {
        qb::ui::BusyScope busy(*this);
        failure = qb::importP2kToolsArchive(m_workspace.workDir, source, progress());
    }
    if (failure) {
        showFailure(*failure);
        return;
    }
    reloadArchive(); // the list is not refilled: new messages show when the folder is chosen again
}
