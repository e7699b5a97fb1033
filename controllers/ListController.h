#pragma once
// The message list without widgets: which folder it shows, its rows and their
// selection, the viewer's text, the shading of a correspondent's rows and the
// column sort. Showing a folder is no command: it takes the folder's messages
// as they are (a copy the list keeps), shows them at once, and sorts them by
// the remembered column on a worker thread first; the commands go on resting
// only while a job runs. Every command acts on the folder the list shows.
#include "archive/FolderTree.h"
#include "controllers/SearchController.h"
#include "export/ExportRun.h"
#include "export/print/PrintJob.h"
#include "models/ColumnSorter.h"
#include "models/EntrySort.h"
#include "models/MessageListModel.h"
#include "reading/DeleteOnPhoneJob.h"
#include "search/MatchRanges.h"

#include <QFutureWatcher>
#include <QItemSelectionModel>
#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qb {

class CommandState;
class SettingsStore;
class UserDialogs;
struct Workspace;

// What the list offers an export: the rows are made only when the export
// runs, in the list's order.
struct ExportSource {
    int listRowCount = 0;
    int exportedCount = 0; // the selected rows (Selected) or all rows (All)
    std::function<std::vector<ExportRow>()> rows;
};

// What the list shows: a folder of the tree, a search's results or a
// conversation, both gathered from every folder.
enum class Listing { Folder, Results, Conversation };

class ListController : public QObject {
    Q_OBJECT
  public:
    ListController(const Workspace& workspace, SettingsStore& settings, CommandState& commands,
                   UserDialogs& dialogs, QObject* parent = nullptr);
    ~ListController() override;

    MessageListModel& model() { return m_model; }
    QItemSelectionModel& selection() { return m_selection; }

    // The node whose rows the list shows now (while the folder chosen last
    // is sorted, the one before); none before the first choice.
    std::optional<TreeNode> listedFolder() const { return m_model.node(); }
    // No sort is under way: the list shows what was chosen last, in order.
    bool isSettled() const { return !m_sorting && m_waiting.empty(); }

    // The node the tree has selected, none when none is.
    void setSelectedNode(std::optional<TreeNode> node) { m_selectedNode = node; }
    // A click on the tree or the release of an arrow key in it: lists the
    // selected node unless the list shows it already.
    void showSelectedFolder();
    // Lists the node (again, when it is the one shown); a group node lists nothing.
    void showFolder(TreeNode node);
    // The phone's folders, or the archive's, have changed: rows listed from
    // them would name other messages. The shown folder of that kind is listed
    // afresh, or forgotten when the tree has moved off it.
    void phoneFoldersChanged() { refreshShownFolder(isPhoneFolder); }
    void archiveFoldersChanged() { refreshShownFolder(isArchiveFolder); }
    // The records (or a read's positions) of `folder` are gone: their rows
    // go, when the list shows that folder.
    void removeRecords(TreeNode folder, const std::vector<int>& records);
    // While the archive is with a job, an archive folder chosen is listed
    // only once it is back; the list shows what it showed meanwhile.
    void setArchiveLent(bool lent);

    // A search's results, sorted by the remembered column like a folder;
    // the viewer marks where the query matches. The folder chosen last
    // stays chosen, to come back to.
    void showResults(std::shared_ptr<const FolderRows> rows, const SearchQuery& query);
    // A conversation, in its time order; the viewer shows it as a chat.
    void showConversation(const GatheredConversation& conversation);
    // Back from results or a conversation to the folder chosen last.
    void returnToFolder();
    Listing listing() const { return m_listing; }

    // A header click.
    void sortByColumn(int column);

    void selectAll();
    // The rows selected, top to bottom.
    std::vector<int> selectedRows() const;
    // A click in the list, and a key released in it: the shading and the
    // viewer follow the first selected row.
    void clicked();
    void keyReleased();
    // Empties the viewer (the archive was read again).
    void clearViewer() { emit viewerTextChanged(QString()); }

    // What the commands take from the list: the records of the selected rows
    // and the selected phone rows with their "Индекс" cells.
    std::vector<int> selectedRecords() const;
    std::vector<DeleteRow> selectedPhoneRows() const;
    // The same, of the selected rows of one folder (results and
    // conversations mix them), and the folders the selected rows are in.
    std::vector<int> selectedRecords(TreeNode folder) const;
    std::vector<DeleteRow> selectedPhoneRows(TreeNode folder) const;
    std::vector<TreeNode> selectedFolders() const;
    // The number and "От" cell of the first selected row.
    std::optional<std::pair<QString, QString>> selectedCorrespondent() const;
    // What printing takes: two or more selected rows, or else every row
    // listed, made into a document off the window's thread; none when the
    // list is empty.
    std::optional<PrintJob::Document> printSource() const;
    // The rows an export takes; none when there is nothing to export or the
    // tree has no folder node selected.
    std::optional<ExportSource> exportSource(ExportMode mode) const;

  signals:
    // The text the viewer shows; empty: nothing.
    void viewerTextChanged(const QString& text);
    // Where in that text the search on show matches; none outside a search.
    void matchesChanged(const std::vector<qb::TextRange>& ranges);
    // The conversation on show as a chat; empty when the list shows none.
    void chatChanged(const QString& html);
    // The row looked at has another correspondent: the list is painted again.
    void repaintNeeded();
    // The list shows the folder chosen last, sorted.
    void settled();

  private:
    struct Sort {
        std::shared_ptr<const FolderRows> rows; // a refill: the rows to show
        int column = 0;                         // a header click: its column
        bool keepOrder = false;                 // a refill shown in its own order
    };
    void listAfresh(std::shared_ptr<const FolderRows> rows, bool keepOrder);
    std::shared_ptr<const FolderRows> folderRows(TreeNode node) const;
    void refreshShownFolder(bool (*ofKind)(TreeNode));
    void forgetShownFolder();
    void enqueue(Sort sort);
    void startNextSort();
    void refill(std::shared_ptr<const FolderRows> rows, bool keepOrder);
    void sortClicked(int column);
    // Sorts `entries` of `rows` on a worker thread, then calls `then` with the order.
    void sortAside(std::shared_ptr<const FolderRows> rows,
                   std::vector<MessageListModel::Entry> entries, int column,
                   SortDirection direction, std::function<void(SortOrder)> then);
    void listRows(std::shared_ptr<const FolderRows> rows,
                  std::vector<MessageListModel::Entry> entries);
    void sortEnded();
    void followSelection();
    void followSender(int row);
    void showRowText(int row);
    void updateCommands();

    const Workspace& m_workspace;
    CommandState& m_commands;
    UserDialogs& m_dialogs;
    MessageListModel m_model;
    QItemSelectionModel m_selection{&m_model};
    ColumnSorter m_sorter;
    // The node chosen last, listed now or once its rows are sorted.
    std::optional<TreeNode> m_shownFolder;
    std::optional<TreeNode> m_selectedNode;
    bool m_archiveLent = false;
    bool m_listWhenArchiveBack = false;
    Listing m_listing = Listing::Folder;
    SearchQuery m_query;                                // of the results on show
    std::optional<GatheredConversation> m_conversation; // on show, or about to be
    // The "От" cell of the row looked at last; decides when the list repaints.
    QString m_lastSender;
    std::deque<Sort> m_waiting;
    bool m_sorting = false;
    struct Sorted {
        SortOrder order;
        std::shared_ptr<const SortCells> cells;
    };
    QFutureWatcher<Sorted> m_sortRun;
    std::function<void(SortOrder)> m_sorted;
    // The cells of the folder listed, once a sort has built them.
    std::shared_ptr<const FolderRows> m_cellsOf;
    std::shared_ptr<const SortCells> m_cells;
};

} // namespace qb
