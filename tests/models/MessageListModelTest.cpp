// The message list's model: the folder's rows built when asked for, in the
// order given, renumbered when records go, shaded by sender, reordered with
// their selection.
#include "models/MessageListModel.h"
#include "models/FolderRows.h"

#include "archive/ArchiveFiles.h"

#include <QItemSelectionModel>
#include <gtest/gtest.h>

using namespace qb;
using Entry = MessageListModel::Entry;

namespace {

// Sent messages whose texts are "1", "2", ... and whose numbers are `senders`.
std::shared_ptr<const FolderRows> sent(const std::vector<const char*>& senders,
                                       Phonebook phonebook = {}) {
    std::string file;
    for (std::size_t k = 1; k <= senders.size(); ++k)
        file += std::to_string(k) + "\r\n " + std::to_string(k) +
                "\r\n+MMGL: " + std::to_string(k) + ", \"STO SENT\", \"" + senders[k - 1] +
                "\"\r\n";
    return FolderRows::ofArchive(TreeNode::ArchiveOutbox,
                                 ArchiveFolder::fromContent(FolderKind::Outbox, file), phonebook);
}

// Rows of `rows` in the order of the positions given, numbered by position.
std::vector<Entry> entries(std::initializer_list<int> positions) {
    std::vector<Entry> order;
    for (const int position : positions)
        order.push_back({position, position + 1});
    return order;
}

std::vector<int> records(const MessageListModel& model) {
    std::vector<int> ks;
    for (int r = 0; r < model.rowCount(); ++r)
        ks.push_back(model.index(r, 0).data(MessageListModel::RecordRole).toInt());
    return ks;
}

QStringList texts(const MessageListModel& model) {
    QStringList shown;
    for (int r = 0; r < model.rowCount(); ++r)
        shown << model.index(r, MessageListModel::TextColumn).data().toString();
    return shown;
}

} // namespace

TEST(MessageListModel, ShowsTheFolderInTheOrderGiven) {
    MessageListModel model;
    const auto rows = sent({"555", "666", "777"});
    model.show(rows, MessageListModel::folderOrder(*rows));
    EXPECT_EQ(texts(model), QStringList({"1", "2", "3"}));
    EXPECT_EQ(model.node(), TreeNode::ArchiveOutbox);
    EXPECT_EQ(model.index(1, MessageListModel::FromColumn).data().toString(), "666");
    EXPECT_EQ(model.index(1, MessageListModel::DateColumn).data().toString(), "----------------");
    EXPECT_EQ(model.index(1, MessageListModel::SizeColumn).data().toString(), "1");
    EXPECT_EQ(model.index(1, MessageListModel::IndexColumn).data().toString(), " 2");
    model.show(rows, entries({2, 0}));
    EXPECT_EQ(texts(model), QStringList({"3", "1"}));
    EXPECT_EQ(records(model), (std::vector<int>{3, 1}));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.node(), std::nullopt);
}

TEST(MessageListModel, DeletedRecordsGoAndTheOthersAreRenumberedInSourceOrder) {
    MessageListModel model;
    // Rows in a sorted order: the record numbers are not the row order.
    model.show(sent({"a", "a", "a", "a", "a", "a"}), entries({4, 0, 2, 1, 3, 5}));
    const quint64 before = model.generation();
    model.removeRecords({4, 2});
    EXPECT_NE(model.generation(), before);
    EXPECT_EQ(records(model), (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(texts(model), QStringList({"5", "1", "3", "6"})); // each row still shows its message
    model.removeRecords({});
    EXPECT_EQ(records(model), (std::vector<int>{3, 1, 2, 4}));
    model.removeRecords({1, 2, 3, 4});
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(MessageListModel, ShadesTheRowsOfOneSender) {
    MessageListModel model;
    const auto rows = sent({"1", "2", "1"}, {{{"1", "Ivan"}}});
    model.show(rows, MessageListModel::folderOrder(*rows));
    const auto background = [&](int r) { return model.index(r, 1).data(Qt::BackgroundRole); };
    EXPECT_FALSE(background(0).isValid());
    model.setShadedSender(QStringLiteral("Ivan (1)"));
    EXPECT_EQ(background(0).value<QColor>(), QColor(166, 202, 240));
    EXPECT_FALSE(background(1).isValid());
    EXPECT_EQ(background(2).value<QColor>(), QColor(166, 202, 240));
    model.setShadedSender(std::nullopt);
    EXPECT_FALSE(background(2).isValid());
}

TEST(MessageListModel, ReorderedRowsTakeTheirSelectionAlong) {
    MessageListModel model;
    const auto rows = sent({"a", "b", "c", "d"});
    model.show(rows, MessageListModel::folderOrder(*rows));
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    model.reorder({3, 2, 1, 0});
    EXPECT_EQ(texts(model), QStringList({"4", "3", "2", "1"}));
    EXPECT_EQ(records(model), (std::vector<int>{4, 3, 2, 1}));
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().front().row(), 2); // "2" is now the third row
}

// A folder of many rows costs what its messages cost: the view asks only for
// the rows it paints, and a row is built when it is asked for.
TEST(MessageListModel, ManyRowsAreBuiltOnlyWhenAskedFor) {
    std::vector<const char*> senders(100000, "+79161234567");
    const auto rows = sent(senders);
    MessageListModel model;
    model.show(rows, MessageListModel::folderOrder(*rows));
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_EQ(model.row(99999).text, "100000");
    EXPECT_EQ(model.row(99999).record, 100000);
}
