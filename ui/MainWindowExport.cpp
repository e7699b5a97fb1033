// Saving the listed messages: the two commands open the export dialog over the
// selected rows or all rows, in the order the list shows them.
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "ui/ExportDialog.h"
#include "ui/FolderTreeWidget.h"
#include "models/MessageListModel.h"
#include "ui/TemplateEditor.h"

#include <QTableView>
#include <QToolButton>
#include <numeric>

using qb::MessageListModel;

void MainWindow::createExportWindows() {
    // Written when missing, once the working directory is known; a failure
    // leaves the program without a template until the editor saves one.
    reportFailure(qb::ensureDefaultTemplate(m_workspace.workDir));
    m_templateEditor = new qb::ui::TemplateEditor(m_workspace.workDir, this);
    m_exportDialog = new qb::ui::ExportDialog(m_workspace.workDir, m_templateEditor, this);
}

bool MainWindow::folderNodeSelected() const {
    const int selected = m_folderTree->selectedPosition();
    return qb::isPhoneFolder(selected) || qb::isArchiveFolder(selected);
}

// The menu items act only while their toolbar buttons would.
void MainWindow::exportSelected() {
    if (isBusy() || !m_exportSelectedButton->isEnabled())
        return;
    setMessagePanel(QString());
    std::vector<int> rows = selectedRows();
    if (folderNodeSelected() && !rows.empty())
        openExportDialog(qb::ExportMode::Selected, std::move(rows));
}

void MainWindow::exportAll() {
    if (isBusy() || !m_exportAllButton->isEnabled())
        return;
    setMessagePanel(QString());
    std::vector<int> rows(static_cast<std::size_t>(m_messageList->model()->rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    if (folderNodeSelected() && !rows.empty())
        openExportDialog(qb::ExportMode::All, std::move(rows));
}

void MainWindow::openExportDialog(qb::ExportMode mode, std::vector<int> rows) {
    const int listRows = m_messageList->model()->rowCount();
    const int count = static_cast<int>(rows.size());
    // The dialog is modal: the list cannot change before the rows are read.
    m_exportDialog->prepare(
        mode, {listRows, count, [this, rows = std::move(rows)] { return exportRows(rows); }});
    m_exportDialog->exec();
}

// The cells as the view shows them, so a sorted list exports in its shown order.
std::vector<qb::ExportRow> MainWindow::exportRows(const std::vector<int>& rows) const {
    static constexpr int Columns[] = {MessageListModel::FromColumn, MessageListModel::DateColumn,
                                      MessageListModel::SizeColumn, MessageListModel::IndexColumn,
                                      MessageListModel::TextColumn};
    const QAbstractItemModel* list = m_messageList->model();
    std::vector<qb::ExportRow> result;
    result.reserve(rows.size());
    for (const int row : rows) {
        qb::ExportRow exported;
        exported.position = row;
        for (std::size_t p = 0; p < qb::PlaceholderCount; ++p)
            exported.values[p] =
                qb::cp1251::fromUnicode(list->index(row, Columns[p]).data().toString());
        result.push_back(std::move(exported));
    }
    return result;
}
