#include "controllers/ListController.h"

#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "controllers/ConversationChat.h"
#include "controllers/ListPrint.h"
#include "controllers/UserDialogs.h"
#include "core/ArchiveText.h"
#include "core/Cp1251.h"
#include "models/FolderCaptions.h"
#include "models/ReleaseAside.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <numeric>

namespace qb {
namespace {

using Entry = MessageListModel::Entry;

std::vector<Entry> inOrder(const std::vector<Entry>& entries, const std::vector<int>& order) {
    std::vector<Entry> sorted;
    sorted.reserve(order.size());
    for (const int at : order)
        sorted.push_back(entries[static_cast<std::size_t>(at)]);
    return sorted;
}

// The cells of `entries` as an export takes them, in Windows-1251.
std::vector<ExportRow> exportRows(const FolderRows& rows, const std::vector<Entry>& entries,
                                  const std::vector<int>& listRows) {
    const std::unique_ptr<MessageRowBuilder> builder = rows.builder();
    std::vector<ExportRow> exported;
    exported.reserve(listRows.size());
    for (const int r : listRows) {
        const MessageRow row = rows.row(*builder, entries[static_cast<std::size_t>(r)].position);
        const QString cells[PlaceholderCount] = {row.from, row.date, QString::number(row.size),
                                                 row.index, row.text};
        ExportRow one;
        one.position = r;
        for (std::size_t p = 0; p < PlaceholderCount; ++p)
            one.values[p] = archivetext::encode(cells[p]);
        exported.push_back(std::move(one));
    }
    return exported;
}

} // namespace

ListController::ListController(const Workspace& workspace, SettingsStore& settings,
                               CommandState& commands, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_workspace(workspace), m_commands(commands), m_dialogs(dialogs),
      m_sorter(m_model, settings) {
    connect(&m_selection, &QItemSelectionModel::selectionChanged, this,
            &ListController::followSelection);
    connect(&m_sortRun, &QFutureWatcher<Sorted>::finished, this, [this] {
        // Taken out, so that the cells have no other owner left behind.
        Sorted sorted = m_sortRun.future().takeResult();
        releaseAside(std::exchange(m_cells, std::move(sorted.cells)));
        // The function is let go first: it may start the next sort.
        std::function<void(SortOrder)> then = std::exchange(m_sorted, {});
        then(std::move(sorted.order));
    });
}

// A sort under way holds what it reads; its result is dropped.
ListController::~ListController() = default;

// --- Which folder the list shows

std::shared_ptr<const FolderRows> ListController::folderRows(TreeNode node) const {
    if (isPhoneFolder(node))
        return FolderRows::ofPhone(node, m_workspace.readResult.folder(folderKindOfNode(node)),
                                   m_workspace.phonebook);
    if (isArchiveFolder(node))
        return FolderRows::ofArchive(node, m_workspace.archive.folder(folderKindOfNode(node)),
                                     m_workspace.phonebook);
    return FolderRows::none(node);
}

void ListController::showSelectedFolder() {
    if (m_selectedNode && m_selectedNode != m_shownFolder)
        showFolder(*m_selectedNode);
}

void ListController::showFolder(TreeNode node) {
    m_listing = Listing::Folder;
    m_query = {};
    m_conversation.reset();
    m_shownFolder = node;
    m_listWhenArchiveBack = m_archiveLent && isArchiveFolder(node);
    if (m_listWhenArchiveBack)
        return;
    std::shared_ptr<const FolderRows> rows = folderRows(node);
    if (rows->namesFailure()) {
        // The fill stops at its first row: nothing is listed.
        m_dialogs.fail(rows->namesFailure()->text());
        rows = FolderRows::none(node);
    }
    listAfresh(std::move(rows), false);
}

void ListController::listAfresh(std::shared_ptr<const FolderRows> rows, bool keepOrder) {
    // Sorts waiting to refill the list are overtaken by this one.
    std::erase_if(m_waiting, [](const Sort& sort) { return sort.rows != nullptr; });
    enqueue({std::move(rows), 0, keepOrder});
}

void ListController::showResults(std::shared_ptr<const FolderRows> rows, const SearchQuery& query) {
    m_listing = Listing::Results;
    m_query = query;
    m_conversation.reset();
    m_listWhenArchiveBack = false;
    listAfresh(std::move(rows), false);
}

void ListController::showConversation(const GatheredConversation& conversation) {
    m_listing = Listing::Conversation;
    m_query = {};
    m_conversation = conversation;
    m_listWhenArchiveBack = false;
    listAfresh(conversation.rows, true);
}

void ListController::returnToFolder() {
    if (m_listing == Listing::Folder)
        return;
    if (m_shownFolder) {
        showFolder(*m_shownFolder);
        return;
    }
    m_listing = Listing::Folder;
    m_query = {};
    m_conversation.reset();
    forgetShownFolder();
}

void ListController::refreshShownFolder(bool (*ofKind)(TreeNode)) {
    // Results follow the search; a conversation keeps the copies it was made of.
    if (m_listing != Listing::Folder)
        return;
    if (!m_shownFolder || !ofKind(*m_shownFolder))
        return;
    if (m_selectedNode == m_shownFolder)
        showFolder(*m_shownFolder);
    else
        forgetShownFolder();
}

void ListController::forgetShownFolder() {
    m_shownFolder.reset();
    m_listWhenArchiveBack = false;
    std::erase_if(m_waiting, [](const Sort& sort) { return sort.rows != nullptr; });
    listRows(FolderRows::none(), {});
}

void ListController::setArchiveLent(bool lent) {
    m_archiveLent = lent;
    if (!lent && std::exchange(m_listWhenArchiveBack, false) && m_shownFolder)
        showFolder(*m_shownFolder);
}

void ListController::removeRecords(TreeNode folder, const std::vector<int>& records) {
    if (m_model.folderRows()->isGathered())
        m_model.removeRecords(records, folder);
    else if (listedFolder() == folder)
        m_model.removeRecords(records);
    else
        return;
    emit viewerTextChanged(QString());
    updateCommands();
}

// --- Sorting, one sort at a time, off the window's thread

void ListController::sortByColumn(int column) {
    if (m_commands.isEnabled(Command::SortList) && ColumnSorter::isColumn(column))
        enqueue({nullptr, column});
}

void ListController::enqueue(Sort sort) {
    m_waiting.push_back(std::move(sort));
    if (!m_sorting)
        startNextSort();
}

void ListController::startNextSort() {
    while (!m_sorting && !m_waiting.empty()) {
        Sort next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (next.rows)
            refill(std::move(next.rows), next.keepOrder);
        else
            sortClicked(next.column);
    }
    if (!m_sorting && m_waiting.empty())
        emit settled();
}

void ListController::sortAside(std::shared_ptr<const FolderRows> rows, std::vector<Entry> entries,
                               int column, SortDirection direction,
                               std::function<void(SortOrder)> then) {
    m_sorting = true;
    m_sorted = std::move(then);
    std::shared_ptr<const SortCells> cells = rows == m_cellsOf ? m_cells : nullptr;
    m_cellsOf = rows;
    m_sortRun.setFuture(QtConcurrent::run([rows = std::move(rows), cells = std::move(cells),
                                           entries = std::move(entries), column, direction] {
        const std::shared_ptr<const SortCells> built = cells ? cells : sortCells(*rows);
        return Sorted{sortEntries(*built, entries, column, direction), built};
    }));
}

void ListController::refill(std::shared_ptr<const FolderRows> rows, bool keepOrder) {
    std::vector<Entry> entries = MessageListModel::folderOrder(*rows);
    const std::optional<ColumnSorter::Remembered> sort =
        keepOrder ? std::nullopt : m_sorter.remembered();
    if (!sort || rows->count() == 0) {
        listRows(std::move(rows), std::move(entries));
        if (sort) {
            m_sorter.restoreMarks(*sort);
            m_sorter.restored(*sort, false);
        }
        return;
    }
    sortAside(rows, entries, sort->column, sort->direction,
              [this, rows, entries, sort = *sort](SortOrder order) {
                  // A folder chosen since takes its place.
                  const bool overtaken = std::any_of(m_waiting.begin(), m_waiting.end(),
                                                     [](const Sort& s) { return s.rows; });
                  if (!overtaken) {
                      listRows(rows, order.failure ? entries : inOrder(entries, order.rows));
                      m_sorter.restoreMarks(sort);
                      if (order.failure)
                          m_dialogs.fail(order.failure->text());
                      else
                          m_sorter.restored(sort, true);
                  }
                  sortEnded();
              });
}

void ListController::sortClicked(int column) {
    if (m_model.rowCount() == 0) {
        m_sorter.clicked(column, false);
        return;
    }
    const quint64 generation = m_model.generation();
    sortAside(m_model.folderRows(), m_model.entries(), column, m_sorter.direction(),
              [this, column, generation](SortOrder order) {
                  if (m_model.generation() != generation) {
                      // The rows changed meanwhile: the click sorts them as they are now.
                      m_waiting.push_front({nullptr, column});
                  } else if (order.failure) {
                      m_dialogs.fail(order.failure->text());
                  } else {
                      m_model.reorder(order.rows);
                      m_sorter.clicked(column, true);
                  }
                  sortEnded();
              });
}

void ListController::sortEnded() {
    m_sorting = false;
    startNextSort();
}

void ListController::listRows(std::shared_ptr<const FolderRows> rows, std::vector<Entry> entries) {
    if (rows != m_cellsOf) {
        m_cellsOf.reset();
        releaseAside(std::exchange(m_cells, nullptr));
    }
    m_model.show(std::move(rows), std::move(entries));
    m_model.setShadedSender(std::nullopt);
    emit viewerTextChanged(QString());
    emit chatChanged(m_listing == Listing::Conversation && m_conversation
                         ? chatHtml(*m_conversation)
                         : QString());
    updateCommands();
}

// --- Selection, viewer and shading

std::vector<int> ListController::selectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : m_selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ListController::selectAll() {
    if (m_model.rowCount() == 0)
        return;
    m_selection.select(
        QItemSelection(m_model.index(0, 0),
                       m_model.index(m_model.rowCount() - 1, MessageListModel::ColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void ListController::updateCommands() {
    const std::optional<TreeNode> node = listedFolder();
    const bool ofFolders = m_model.folderRows()->isGathered() || (node && isFolder(*node));
    m_commands.setListed(ofFolders && m_model.rowCount() > 0, m_selection.hasSelection());
    m_commands.setGathered(m_listing != Listing::Folder);
}

void ListController::followSelection() {
    updateCommands();
    const std::vector<int> rows = selectedRows();
    m_model.setShadedSender(rows.size() == 1 ? std::optional(m_model.row(rows.front()).from)
                                             : std::nullopt);
    if (rows.empty())
        emit viewerTextChanged(QString());
    else if (rows.size() == 1)
        showRowText(rows.front());
}

void ListController::clicked() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) {
        emit viewerTextChanged(QString());
        return;
    }
    followSender(rows.front());
    showRowText(rows.front());
}

void ListController::keyReleased() {
    const std::vector<int> rows = selectedRows();
    if (!rows.empty())
        followSender(rows.front());
}

void ListController::followSender(int row) {
    const QString from = m_model.row(row).from;
    if (!m_lastSender.isEmpty() && from == m_lastSender)
        return;
    m_lastSender = from;
    emit repaintNeeded();
}

void ListController::showRowText(int row) {
    const QString text = m_model.row(row).text;
    emit viewerTextChanged(text);
    if (m_listing == Listing::Results)
        emit matchesChanged(matchRanges(text, m_query));
}

// --- What the commands take

std::vector<int> ListController::selectedRecords() const {
    std::vector<int> records;
    for (const int row : selectedRows())
        records.push_back(m_model.record(row));
    return records;
}

std::vector<DeleteRow> ListController::selectedPhoneRows() const {
    std::vector<DeleteRow> rows;
    for (const int row : selectedRows())
        rows.push_back({m_model.record(row), cp1251::fromUnicode(m_model.row(row).index)});
    return rows;
}

std::vector<int> ListController::selectedRecords(TreeNode folder) const {
    std::vector<int> records;
    for (const int row : selectedRows())
        if (m_model.folderOf(row) == folder)
            records.push_back(m_model.record(row));
    return records;
}

std::vector<DeleteRow> ListController::selectedPhoneRows(TreeNode folder) const {
    std::vector<DeleteRow> rows;
    for (const int row : selectedRows())
        if (m_model.folderOf(row) == folder)
            rows.push_back({m_model.record(row), cp1251::fromUnicode(m_model.row(row).index)});
    return rows;
}

std::vector<TreeNode> ListController::selectedFolders() const {
    std::vector<TreeNode> folders;
    for (const int row : selectedRows()) {
        const std::optional<TreeNode> folder = m_model.folderOf(row);
        if (folder && isFolder(*folder) &&
            std::find(folders.begin(), folders.end(), *folder) == folders.end())
            folders.push_back(*folder);
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::optional<std::pair<QString, QString>> ListController::selectedCorrespondent() const {
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return std::nullopt;
    const int position = m_model.entries()[static_cast<std::size_t>(rows.front())].position;
    return std::pair(m_model.folderRows()->number(position), m_model.row(rows.front()).from);
}

std::optional<PrintJob::Document> ListController::printSource() const {
    std::vector<int> rows = selectedRows();
    if (rows.size() < 2) {
        rows.resize(static_cast<std::size_t>(m_model.rowCount()));
        std::iota(rows.begin(), rows.end(), 0);
    }
    if (rows.empty())
        return std::nullopt;
    QString title;
    if (m_listing == Listing::Conversation && m_conversation)
        title = tr("Переписка с %1").arg(m_conversation->correspondent);
    else if (m_listing == Listing::Results)
        title = tr("Найденные сообщения");
    else if (const std::optional<TreeNode> node = listedFolder(); node && isFolder(*node))
        title = nodeName(isPhoneFolder(*node) ? TreeNode::Phone : TreeNode::Archive) +
                QStringLiteral(" ▸ ") + nodeName(*node);
    std::shared_ptr<const GatheredConversation> conversation =
        m_listing == Listing::Conversation && m_conversation
            ? std::make_shared<const GatheredConversation>(*m_conversation)
            : nullptr;
    return
        [title, rows = std::move(rows), folder = m_model.folderRows(), entries = m_model.entries(),
         conversation] { return printedRows(title, *folder, entries, rows, conversation.get()); };
}

std::optional<ExportSource> ListController::exportSource(ExportMode mode) const {
    std::vector<int> rows;
    if (mode == ExportMode::Selected) {
        rows = selectedRows();
    } else {
        rows.resize(static_cast<std::size_t>(m_model.rowCount()));
        std::iota(rows.begin(), rows.end(), 0);
    }
    // Only over a folder node of the tree, or over rows gathered from folders.
    const bool overFolder =
        m_listing != Listing::Folder || (m_selectedNode && isFolder(*m_selectedNode));
    if (!overFolder || rows.empty())
        return std::nullopt;
    const int count = static_cast<int>(rows.size());
    // The rows as shown now, whatever the list shows by the time the export runs.
    return ExportSource{m_model.rowCount(), count,
                        [folder = m_model.folderRows(), entries = m_model.entries(),
                         rows = std::move(rows)] { return exportRows(*folder, entries, rows); }};
}

} // namespace qb
