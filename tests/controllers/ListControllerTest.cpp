// The message list without its window: which folder it lists, the sort by a
// clicked or remembered column (on a worker thread), the rows that go with
// deleted records, the selection and what it tells the viewer and the commands.
#include "controllers/ListController.h"

#include "ControllerTesting.h"
#include "archive/Workspace.h"
#include "controllers/CommandState.h"
#include "models/SettingsStore.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using Model = MessageListModel;

namespace {

class ListControllerTest : public ::testing::Test {
  protected:
    ListControllerTest() {
        test::ensureApplication();
        // Sizes 3, 1 and 2; numbers 9, 7 and 8.
        workspace.archive.outbox = test::sentFolder({{"ccc", "9"}, {"a", "7"}, {"bb", "8"}});
    }

    // The node selected in the tree and listed, as a click on it does.
    void show(TreeNode node) {
        list.setSelectedNode(node);
        list.showSelectedFolder();
        settle();
    }
    void click(int column) {
        list.sortByColumn(column);
        settle();
    }
    void settle() {
        ASSERT_TRUE(test::waitFor([this] { return list.isSettled(); }));
    }
    QStringList cells(int column) {
        QStringList all;
        for (int r = 0; r < list.model().rowCount(); ++r)
            all << list.model().index(r, column).data().toString();
        return all;
    }
    std::vector<int> marks() {
        std::vector<int> m;
        for (int c = 0; c < Model::SortableColumnCount; ++c)
            m.push_back(list.model().sortMark(c));
        return m;
    }
    int stored(const SettingKey& ident) { return settings.number(ident, 99); }
    void select(std::initializer_list<int> rows) {
        list.selection().clear();
        for (const int row : rows)
            list.selection().select(list.model().index(row, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.conf"))};
    Workspace workspace;
    CommandState commands;
    test::RecordedDialogs dialogs;
    ListController list{workspace, settings, commands, dialogs};
};

} // namespace

TEST_F(ListControllerTest, AFolderIsListedOnceChosenAndOnlyAnotherNodeRefills) {
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(list.listedFolder(), TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "a", "bb"}));
    EXPECT_TRUE(commands.isEnabled(Command::ExportAll));
    workspace.archive.outbox = test::sentFolder({{"new", "1"}});
    show(TreeNode::ArchiveOutbox); // the node shown: nothing happens
    EXPECT_EQ(list.model().rowCount(), 3);
    show(TreeNode::Archive); // a group node lists nothing
    EXPECT_EQ(list.model().rowCount(), 0);
    EXPECT_FALSE(commands.isEnabled(Command::ExportAll));
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"new"}));
}

TEST_F(ListControllerTest, AClickOnAnEmptyListOnlyFlipsAndRemembers) {
    show(TreeNode::ArchiveDraft);
    click(Model::DateColumn);
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(stored(Setting::SortMark), -1); // the mark it had before
    EXPECT_EQ(stored(Setting::SortColumn), 2);
    show(TreeNode::ArchiveOutbox);
    click(Model::TextColumn); // the direction was flipped: descending
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "bb", "a"}));
    EXPECT_EQ(list.model().sortMark(Model::TextColumn), 1);
}

TEST_F(ListControllerTest, EveryRefillKeepsTheColumnAndDirectionOfTheLastClick) {
    show(TreeNode::ArchiveOutbox); // nothing clicked yet: the file's order stays
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "a", "bb"}));
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_FALSE(settings.contains(Setting::SortMark));

    click(Model::TextColumn); // ascending
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"a", "bb", "ccc"}));
    EXPECT_EQ(stored(Setting::SortMark), 0);
    EXPECT_EQ(stored(Setting::SortColumn), 0);
    click(Model::TextColumn); // descending
    for (const TreeNode node :
         {TreeNode::Archive, TreeNode::ArchiveOutbox, TreeNode::Archive, TreeNode::ArchiveOutbox}) {
        show(node);
        if (node == TreeNode::ArchiveOutbox) {
            EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "bb", "a"}));
            EXPECT_EQ(list.model().sortMark(Model::TextColumn), 1);
        }
    }
    click(Model::TextColumn); // only a click turns it
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"a", "bb", "ccc"}));
}

TEST_F(ListControllerTest, ARestartSortsByTheStoredColumnTheWayItsMarkPoints) {
    // Values edited by hand as text are read as numbers.
    settings.setText(Setting::SortMark, QStringLiteral("1"));
    settings.setText(Setting::SortColumn, QStringLiteral(" 3"));
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::SizeColumn), QStringList({"3", "2", "1"}));
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, 1, -1}));
    click(Model::SizeColumn); // the next click turns it
    EXPECT_EQ(cells(Model::SizeColumn), QStringList({"1", "2", "3"}));

    // An empty list keeps the stored mark on the stored column.
    settings.setNumber(Setting::SortMark, 1);
    show(TreeNode::ArchiveDraft);
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, 1, -1}));

    // A click on an empty list stored no mark: its column is sorted ascending.
    settings.setNumber(Setting::SortMark, -1);
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::SizeColumn), QStringList({"1", "2", "3"}));
    EXPECT_EQ(list.model().sortMark(Model::SizeColumn), 0);
}

TEST_F(ListControllerTest, StoredValuesOutOfRange) {
    settings.setNumber(Setting::SortMark, 2); // counts as never clicked
    settings.setNumber(Setting::SortColumn, 0);
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "a", "bb"}));

    settings.setNumber(Setting::SortMark, 0);
    settings.setNumber(Setting::SortColumn, 7); // the column's default, 1
    show(TreeNode::ArchiveDraft);
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(cells(Model::FromColumn), QStringList({"7", "8", "9"}));
    EXPECT_EQ(list.model().sortMark(Model::FromColumn), 0);
    EXPECT_EQ(stored(Setting::SortColumn), 7); // a refill stores nothing
}

TEST_F(ListControllerTest, AnIndexThatIsNoNumberIsToldAndNothingMoves) {
    workspace.archive.outbox = ArchiveFolder::fromContent(
        FolderKind::Outbox,
        test::sentFile({{"ccc", "9"}}) + "a\r\n x\r\n+MMGL: 2, \"STO SENT\", \"7\"\r\n");
    show(TreeNode::ArchiveOutbox);
    click(Model::IndexColumn);
    EXPECT_EQ(dialogs.texts, QStringList({"' x' is not a valid integer value"}));
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "a"}));
    EXPECT_FALSE(settings.contains(Setting::SortColumn));
    click(Model::TextColumn); // the direction was kept: ascending
    EXPECT_EQ(list.model().sortMark(Model::TextColumn), 0);
}

TEST_F(ListControllerTest, ClicksInARowAreSortedInTurn) {
    show(TreeNode::ArchiveOutbox);
    list.sortByColumn(Model::SizeColumn); // ascending
    list.sortByColumn(Model::TextColumn); // then descending
    EXPECT_FALSE(list.isSettled());
    settle();
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc", "bb", "a"}));
    EXPECT_EQ(marks(), (std::vector<int>{1, -1, -1, -1, -1}));
}

TEST_F(ListControllerTest, RowsKeepTheirRecordsSoADeletionAfterASortHitsTheChosenRows) {
    show(TreeNode::ArchiveOutbox);
    click(Model::TextColumn); // a (record 2), bb (3), ccc (1)
    select({0, 1});
    EXPECT_EQ(list.selectedRecords(), (std::vector<int>{2, 3}));
    list.removeRecords(TreeNode::ArchiveInbox, {2, 3}); // another folder's: nothing goes
    EXPECT_EQ(list.model().rowCount(), 3);
    list.removeRecords(TreeNode::ArchiveOutbox, {2, 3});
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"ccc"}));
    EXPECT_EQ(list.model().record(0), 1);
}

TEST_F(ListControllerTest, WhileAJobHasTheArchiveTheListShowsWhatItShowed) {
    show(TreeNode::ArchiveOutbox);
    list.setArchiveLent(true);
    const Archive away = std::move(workspace.archive);
    show(TreeNode::ArchiveInbox);
    EXPECT_EQ(list.listedFolder(), TreeNode::ArchiveOutbox);
    EXPECT_EQ(list.model().rowCount(), 3);
    workspace.archive.inbox = test::sentFolder({{"in", "5"}});
    list.setArchiveLent(false);
    settle();
    EXPECT_EQ(list.listedFolder(), TreeNode::ArchiveInbox);
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"in"}));
}

TEST_F(ListControllerTest, AChangedFolderIsListedAfreshOrForgotten) {
    show(TreeNode::ArchiveOutbox);
    workspace.archive.outbox = test::sentFolder({{"read again", "1"}});
    list.phoneFoldersChanged(); // not this folder's kind
    EXPECT_EQ(list.model().rowCount(), 3);
    list.archiveFoldersChanged();
    settle();
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"read again"}));
    // The tree has moved off it (keys other than the arrows): the rows go.
    list.setSelectedNode(TreeNode::ArchiveDraft);
    list.archiveFoldersChanged();
    EXPECT_EQ(list.listedFolder(), std::nullopt);
    EXPECT_EQ(list.model().rowCount(), 0);
}

TEST_F(ListControllerTest, AnUnusablePhonebookListsNothing) {
    workspace.phonebook.countLine = "x7";
    show(TreeNode::ArchiveOutbox);
    EXPECT_EQ(dialogs.texts, QStringList{"'x7' is not a valid integer value"});
    EXPECT_EQ(list.model().rowCount(), 0);
    show(TreeNode::ArchiveDraft); // an empty folder has no first row to stop at
    EXPECT_EQ(dialogs.texts.size(), 1);
}

TEST_F(ListControllerTest, TheSelectionDrivesTheViewerTheShadingAndTheCommands) {
    workspace.phonebook = {{{"9", "Ivan"}}};
    show(TreeNode::ArchiveOutbox);
    QSignalSpy viewer(&list, &ListController::viewerTextChanged);
    select({0});
    EXPECT_EQ(viewer.last().at(0).toString(), "ccc");
    EXPECT_TRUE(commands.isEnabled(Command::ExportSelected));
    EXPECT_TRUE(list.model().index(0, 0).data(Qt::BackgroundRole).isValid());
    select({0, 2});
    EXPECT_EQ(viewer.last().at(0).toString(), "ccc"); // two rows: the viewer keeps its text
    EXPECT_FALSE(list.model().index(0, 0).data(Qt::BackgroundRole).isValid());
    QSignalSpy repaint(&list, &ListController::repaintNeeded);
    list.clicked(); // a click shows the first selected row and follows its sender
    EXPECT_EQ(viewer.last().at(0).toString(), "ccc");
    EXPECT_EQ(repaint.size(), 1);
    select({});
    EXPECT_EQ(viewer.last().at(0).toString(), QString());
    EXPECT_FALSE(commands.isEnabled(Command::ExportSelected));

    select({1});
    list.keyReleased(); // another sender: the list is painted again
    list.keyReleased();
    EXPECT_EQ(repaint.size(), 2);
    list.selectAll();
    EXPECT_EQ(list.selectedRows(), (std::vector<int>{0, 1, 2}));
}

TEST_F(ListControllerTest, AnExportTakesTheRowsAsShownOverAFolderNode) {
    show(TreeNode::ArchiveOutbox);
    click(Model::TextColumn);
    select({2});
    const std::optional<ExportSource> selected = list.exportSource(ExportMode::Selected);
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->listRowCount, 3);
    EXPECT_EQ(selected->exportedCount, 1);
    click(Model::TextColumn); // the list changes before the export runs
    const std::vector<ExportRow> rows = selected->rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].position, 2);
    EXPECT_EQ(rows[0].values[std::size_t(Placeholder::Sms)], "ccc");
    EXPECT_EQ(list.exportSource(ExportMode::All)->exportedCount, 3);
    list.setSelectedNode(TreeNode::Archive); // the tree on a group node
    EXPECT_FALSE(list.exportSource(ExportMode::All));
}

// --- Results and conversations: rows gathered from several folders

namespace {

std::shared_ptr<const FolderRows> gathered(const Workspace& workspace,
                                           std::vector<SearchHit> hits) {
    std::array<std::shared_ptr<const FolderRows>, TreeNodeCount> folders;
    folders[std::size_t(TreeNode::ArchiveOutbox)] = FolderRows::ofArchive(
        TreeNode::ArchiveOutbox, workspace.archive.outbox, workspace.phonebook);
    folders[std::size_t(TreeNode::ArchiveDraft)] =
        FolderRows::ofArchive(TreeNode::ArchiveDraft, workspace.archive.draft, workspace.phonebook);
    return gatherHits(folders, hits);
}

} // namespace

TEST_F(ListControllerTest, ResultsAreSortedAsAFolderAndLeaveTheFolderToComeBackTo) {
    workspace.archive.draft = ArchiveFolder::fromContent(
        FolderKind::Draft, "dd\r\n 4\r\n+MMGL: 4, \"STO UNSENT\", \"5\"\r\n");
    show(TreeNode::ArchiveOutbox);
    click(Model::TextColumn); // ascending, remembered
    const int outbox = int(TreeNode::ArchiveOutbox), draft = int(TreeNode::ArchiveDraft);
    list.showResults(gathered(workspace, {{outbox, 0}, {draft, 0}, {outbox, 2}}),
                     parseSearchQuery(u"c"));
    settle();
    EXPECT_EQ(list.listing(), Listing::Results);
    // By the remembered column and direction, as every refill.
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"bb", "ccc", "dd"}));
    EXPECT_EQ(cells(Model::FolderColumn),
              QStringList({"Архив ▸ Исходящие", "Архив ▸ Исходящие", "Архив ▸ Черновые"}));
    EXPECT_TRUE(commands.isEnabled(Command::ExportAll));
    EXPECT_TRUE(commands.isEnabled(Command::EndSearch));
    EXPECT_EQ(list.listedFolder(), std::nullopt);
    // The archive read again: results follow the search, not the folder.
    list.archiveFoldersChanged();
    settle();
    EXPECT_EQ(list.listing(), Listing::Results);

    select({0, 2});
    EXPECT_EQ(list.selectedFolders(),
              std::vector<TreeNode>({TreeNode::ArchiveOutbox, TreeNode::ArchiveDraft}));
    EXPECT_EQ(list.selectedRecords(TreeNode::ArchiveOutbox), std::vector<int>({3}));
    EXPECT_EQ(list.selectedRecords(TreeNode::ArchiveDraft), std::vector<int>({1}));
    const std::optional<ExportSource> exported = list.exportSource(ExportMode::All);
    ASSERT_TRUE(exported);
    EXPECT_EQ(exported->exportedCount, 3);
    EXPECT_EQ(exported->rows()[2].values[4], "dd");

    // Deleted in the Outbox: only the Outbox's rows go or move up.
    list.removeRecords(TreeNode::ArchiveOutbox, {1});
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"bb", "dd"}));
    EXPECT_EQ(list.model().record(0), 2);
    EXPECT_EQ(list.model().record(1), 1);

    list.returnToFolder();
    settle();
    EXPECT_EQ(list.listing(), Listing::Folder);
    EXPECT_EQ(list.listedFolder(), TreeNode::ArchiveOutbox);
    EXPECT_FALSE(commands.isEnabled(Command::EndSearch));
}

TEST_F(ListControllerTest, TheViewerMarksTheMatchesOfResultsOnly) {
    QSignalSpy marks(&list, &ListController::matchesChanged);
    show(TreeNode::ArchiveOutbox);
    select({0});
    EXPECT_EQ(marks.count(), 0); // a folder marks nothing
    list.showResults(gathered(workspace, {{int(TreeNode::ArchiveOutbox), 0}}),
                     parseSearchQuery(u"cc"));
    settle();
    select({0});
    ASSERT_EQ(marks.count(), 1);
    const auto ranges = marks.last().at(0).value<std::vector<TextRange>>();
    EXPECT_EQ(ranges, (std::vector<TextRange>{{0, 3}}));
}

TEST_F(ListControllerTest, AConversationKeepsItsOrderAndShowsItsChat) {
    click(Model::TextColumn); // a remembered column does not reorder a conversation
    QSignalSpy chat(&list, &ListController::chatChanged);
    GatheredConversation conversation;
    conversation.rows =
        gathered(workspace, {{int(TreeNode::ArchiveOutbox), 2}, {int(TreeNode::ArchiveOutbox), 0}});
    for (const int position : {2, 0}) {
        ConversationEntry entry;
        entry.direction = MessageDirection::Sent;
        entry.text = position == 2 ? QStringLiteral("bb") : QStringLiteral("ccc");
        conversation.entries.push_back(entry);
    }
    conversation.correspondent = QStringLiteral("8");
    list.showConversation(conversation);
    settle();
    EXPECT_EQ(cells(Model::TextColumn), QStringList({"bb", "ccc"}));
    ASSERT_FALSE(chat.isEmpty());
    EXPECT_TRUE(chat.last().at(0).toString().contains(QStringLiteral("Переписка с 8")));
    select({1});
    EXPECT_EQ(list.selectedCorrespondent(), std::pair(QStringLiteral("9"), QStringLiteral("9")));
    const std::optional<PrintJob::Document> printed = list.printSource();
    ASSERT_TRUE(printed);
    const PrintedDocument document = (*printed)();
    EXPECT_EQ(document.title, QStringLiteral("Переписка с 8"));
    EXPECT_EQ(document.messages.size(), 2u); // one row selected: all rows
    list.returnToFolder();
    settle();
    EXPECT_TRUE(chat.last().at(0).toString().isEmpty());
    EXPECT_EQ(list.listedFolder(), std::nullopt); // nothing was chosen before
}
