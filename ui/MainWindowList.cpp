// The main window's message list and viewer: filling the list from the chosen
// folder and following the selection.
#include "ui/MainWindow.h"

#include "archive/FolderTree.h"
#include "core/Cp1251.h"
#include "ui/ApplicationTitle.h"
#include "ui/FolderTreeWidget.h"
#include "models/MessageListModel.h"
#include "ui/MessageViewer.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <functional>

using qb::MessageRow;

namespace {} // namespace

// The selected rows, top to bottom, each once.
std::vector<int> MainWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : m_messageList->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

namespace {

// Appends the rows of records 1..count. Rows go to the model in batches, and
// between batches the window handles its events: often enough to stay
// responsive, seldom enough that 100 000 rows are listed within a second.
void appendInBatches(qb::MessageListModel& model, qb::Progress& progress, int intervalMs,
                     int count, const std::function<MessageRow(int)>& makeRow) {
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    std::vector<MessageRow> batch;
    for (int k = 1; k <= count; ++k) {
        batch.push_back(makeRow(k));
        if (k < count && sinceEvents.elapsed() < intervalMs)
            continue;
        model.append(std::move(batch));
        batch.clear();
        progress.setPosition(k - 1);
        if (k < count) {
            sinceEvents.restart();
        }
    }
}

} // namespace

// --- Filling

void MainWindow::fillList() {
    if (isBusy())
        return; // a second fill never interleaves its rows with the first one's
    const int position = m_folderTree->selectedPosition();
    qb::MaybeFailure failure;
    {
        qb::ui::BusyScope busy(*this);
        progress().setTextVisible(false);
        progress().setPosition(0);
        progress().setVisible(true);
        m_messages->clear();
        failure = fillRows(position);
        progress().setVisible(false);
        progress().setTextVisible(true);
    }
    // Clicks in the list were refused during the fill; take the selection as it is now.
    followSelection();
    m_viewer->clear();
    const bool folder = qb::isPhoneFolder(position) || qb::isArchiveFolder(position);
    m_exportAllButton->setEnabled(folder && m_messages->rowCount() > 0);
    if (failure) {
        showFailure(*failure);
        return;
    }
    restoreColumnSort();
}

qb::MaybeFailure MainWindow::fillRows(int position) {
    const bool phone = qb::isPhoneFolder(position);
    if (!phone && !qb::isArchiveFolder(position))
        return std::nullopt; // a group node lists nothing
    const qb::FolderKind kind = qb::folderKindOfNode(position);
    qb::MessageRowBuilder builder(kind, m_workspace.phonebook);
    const qb::ReadFolder& read = m_workspace.readResult.folder(kind);
    const auto& records = m_workspace.archive.folder(kind).records;
    // Before the first read a phone folder holds no count, and lists nothing.
    const int count =
        phone ? std::max(read.count().value_or(0), 0) : static_cast<int>(records.size());
    if (count == 0)
        return std::nullopt;
    if (builder.failure())
        return builder.failure(); // stops at the first row: nothing is listed
    progress().setMaximum(phone ? count - 1 : count);
    m_messages->reserve(count);
    if (phone) {
        const qb::ReadEntry none;
        appendInBatches(*m_messages, progress(), m_fillEventInterval, count, [&](int k) {
            const qb::ReadEntry* entry = read.find(k);
            return builder.fromPhone(entry ? *entry : none, k);
        });
    } else {
        appendInBatches(*m_messages, progress(), m_fillEventInterval, count, [&](int k) {
            return builder.fromArchive(records[static_cast<std::size_t>(k - 1)], k);
        });
    }
    return std::nullopt;
}

// --- Folder tree

void MainWindow::showSelectedFolder() {
    if (isBusy())
        return;
    const int position = m_folderTree->selectedPosition();
    if (position < 0 || position == m_shownFolder)
        return;
    showFolder(position);
}

void MainWindow::showFolder(int position) {
    m_shownFolder = position;
    fillList();
}

void MainWindow::showFolderOnArrowKey(QKeyEvent* event) {
    // Holding an arrow key down repeats press and release; only the last release counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        showSelectedFolder();
}

// --- Message list

void MainWindow::followSelection() {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows();
    m_exportSelectedButton->setEnabled(!rows.empty());
    m_messages->setShadedSender(rows.size() == 1 ? std::optional(m_messages->row(rows.front()).from)
                                                 : std::nullopt);
    if (rows.empty())
        m_viewer->clear();
    else if (rows.size() == 1)
        showRowText(rows.front());
}

void MainWindow::showClickedRow() {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows();
    m_exportSelectedButton->setEnabled(!rows.empty());
    if (rows.empty()) {
        m_viewer->clear();
        return;
    }
    followSender(rows.front());
    showRowText(rows.front());
}

// The shading follows a selection moved with the keyboard.
void MainWindow::followKeyboardSelection(QKeyEvent*) {
    if (isBusy())
        return;
    const std::vector<int> rows = selectedRows();
    if (!rows.empty())
        followSender(rows.front());
}

void MainWindow::followSender(int row) {
    const QString& from = m_messages->row(row).from;
    if (!m_lastSender.isEmpty() && from == m_lastSender)
        return;
    m_lastSender = from;
    m_messageList->viewport()->update();
}

void MainWindow::showRowText(int row) {
    m_viewer->setMessageText(m_messages->row(row).text);
}
