// Rows gathered from several folders: a search's hits and a conversation in
// time order, the rows a deletion leaves, the chat and the printed document.
#include "controllers/SearchController.h"

#include "ControllerTesting.h"
#include "archive/Workspace.h"
#include "controllers/ConversationChat.h"
#include "controllers/ListPrint.h"
#include "core/ArchiveText.h"
#include "core/Cp1251.h"
#include "models/MessageListModel.h"
#include "numbers/CorrespondentKeys.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace qb;

namespace {

std::string cp(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

// Received messages: text, index, number and time of day on 1 February 2005.
std::string
receivedFile(const std::vector<std::tuple<std::string, int, std::string, std::string>>& messages) {
    std::string file;
    for (const auto& [text, index, number, time] : messages) {
        const std::string k = std::to_string(index);
        file += text + "\r\n" + k + "\r\n+MMGL: " + k + ", \"REC READ\", \"" + number +
                "\"\r\n01/02/2005," + time + "\r\n";
    }
    return file;
}

std::string sent(const std::string& text, int index, const std::string& number) {
    const std::string k = std::to_string(index);
    return text + "\r\n " + k + "\r\n+MMGL: " + k + ", \"STO SENT\", \"" + number + "\"\r\n";
}

using Folders = std::array<std::shared_ptr<const FolderRows>, TreeNodeCount>;

class GatheredRowsTest : public ::testing::Test {
  protected:
    GatheredRowsTest() {
        test::ensureApplication();
        inbox = ArchiveFolder::fromContent(
            FolderKind::Inbox, receivedFile({{cp("как дела?"), 1, "+79161234567", "10:00:00"},
                                             {cp("чужое"), 2, "+79990000000", "10:30:00"},
                                             {cp("отлично"), 5, "+79161234567", "11:00:00"}}));
        // Index 3 lies between the received 1 and 5; index 9 after them all.
        outbox = ArchiveFolder::fromContent(FolderKind::Outbox,
                                            sent(cp("хорошо, а у тебя?"), 3, "8 916 123-45-67") +
                                                sent("x", 4, "+79990000000") +
                                                sent(cp("ответ"), 9, "89161234567"));
        folders[std::size_t(TreeNode::ArchiveInbox)] =
            FolderRows::ofArchive(TreeNode::ArchiveInbox, inbox, {});
        folders[std::size_t(TreeNode::ArchiveOutbox)] =
            FolderRows::ofArchive(TreeNode::ArchiveOutbox, outbox, {});
    }

  public:
    static QStringList texts(const FolderRows& rows) {
        QStringList all;
        const auto builder = rows.builder();
        for (int p = 0; p < rows.count(); ++p)
            all << rows.row(*builder, p).text;
        return all;
    }

  protected:
    ArchiveFolder inbox, outbox;
    Folders folders;
    CorrespondentKeys keys{QStringLiteral("RU")};
};

} // namespace

TEST_F(GatheredRowsTest, HitsKeepTheirFolderAndRecord) {
    const auto rows = gatherHits(folders, {{int(TreeNode::ArchiveInbox), 2},
                                           {int(TreeNode::ArchiveOutbox), 0},
                                           {int(TreeNode::ArchiveOutbox), 7}}); // beyond: dropped
    ASSERT_EQ(rows->count(), 2);
    EXPECT_TRUE(rows->isGathered());
    EXPECT_EQ(rows->node(), std::nullopt);
    EXPECT_EQ(rows->nodeOf(0), TreeNode::ArchiveInbox);
    EXPECT_EQ(rows->recordOf(0), 3);
    EXPECT_EQ(rows->nodeOf(1), TreeNode::ArchiveOutbox);
    EXPECT_EQ(rows->recordOf(1), 1);
    EXPECT_EQ(rows->number(1), QStringLiteral("8 916 123-45-67"));
    // Each row is built as its own folder builds it: a date only for the received.
    const auto builder = rows->builder();
    EXPECT_EQ(rows->row(*builder, 0).date, QStringLiteral("01/02/2005,11:00:00"));
    EXPECT_EQ(rows->row(*builder, 1).date, NoDate);
    EXPECT_EQ(rows->row(*builder, 1).icon, Icon::OutboxRow);
}

TEST_F(GatheredRowsTest, AConversationJoinsNumberFormsInTimeOrder) {
    const GatheredConversation conversation =
        gatherConversation(folders, keys.keyOf(QStringLiteral("+79161234567")), keys);
    EXPECT_EQ(texts(*conversation.rows),
              QStringList({"как дела?", "хорошо, а у тебя?", "отлично", "ответ"}));
    ASSERT_EQ(conversation.entries.size(), 4u);
    EXPECT_FALSE(conversation.entries[0].time.estimated);
    EXPECT_TRUE(conversation.entries[1].time.estimated); // sent: placed by its index
    EXPECT_EQ(conversation.entries[1].direction, MessageDirection::Sent);
    EXPECT_EQ(conversation.rows->nodeOf(1), TreeNode::ArchiveOutbox);
    EXPECT_EQ(conversation.rows->recordOf(1), 1);
    // Nobody's conversation is empty.
    EXPECT_EQ(gatherConversation(folders, QString(), keys).rows->count(), 0);
}

TEST_F(GatheredRowsTest, DeletedRecordsLeaveOnlyTheirFolder) {
    const GatheredConversation conversation =
        gatherConversation(folders, keys.keyOf(QStringLiteral("+79161234567")), keys);
    MessageListModel model;
    model.show(conversation.rows, MessageListModel::folderOrder(*conversation.rows));
    // Record 1 of the Outbox goes; the Inbox's record 1 stays, the Outbox's
    // record 3 moves up to 2.
    model.removeRecords({1}, TreeNode::ArchiveOutbox);
    QStringList left;
    for (int r = 0; r < model.rowCount(); ++r)
        left << model.row(r).text + "#" + QString::number(model.record(r));
    EXPECT_EQ(left, QStringList({"как дела?#1", "отлично#3", "ответ#2"}));
    EXPECT_EQ(model.index(0, MessageListModel::FolderColumn).data().toString(),
              QStringLiteral("Архив ▸ Входящие"));
}

TEST_F(GatheredRowsTest, TheChatPutsEachSideApartWithTimes) {
    GatheredConversation conversation =
        gatherConversation(folders, keys.keyOf(QStringLiteral("+79161234567")), keys);
    conversation.correspondent = QStringLiteral("Иван (+79161234567)");
    const QString html = chatHtml(conversation, QLocale(QLocale::Russian));
    EXPECT_TRUE(html.contains(QStringLiteral("Переписка с Иван (+79161234567)")));
    EXPECT_TRUE(html.contains(QStringLiteral("01.02.2005 10:00")));
    EXPECT_TRUE(html.contains(QStringLiteral("около 01.02.2005")));
    // Received on the left (the bubble first), sent on the right.
    EXPECT_LT(html.indexOf(QStringLiteral("<tr><td width=\"70%\" bgcolor=\"#eeeeee\"")),
              html.indexOf(QStringLiteral("<tr><td width=\"30%\"></td><td width=\"70%\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("хорошо, а у тебя?")));
    EXPECT_TRUE(chatHtml({}).isEmpty());
}

TEST_F(GatheredRowsTest, PrintedRowsCarryDirectionTimeAndText) {
    const GatheredConversation conversation =
        gatherConversation(folders, keys.keyOf(QStringLiteral("+79161234567")), keys);
    const std::vector<MessageListModel::Entry> entries =
        MessageListModel::folderOrder(*conversation.rows);
    const PrintedDocument document = printedRows(QStringLiteral("Переписка"), *conversation.rows,
                                                 entries, {0, 1}, &conversation);
    ASSERT_EQ(document.messages.size(), 2u);
    EXPECT_EQ(document.title, QStringLiteral("Переписка"));
    EXPECT_EQ(document.messages[0].direction, MessageDirection::Received);
    EXPECT_EQ(document.messages[0].time->time(), QTime(10, 0));
    EXPECT_EQ(document.messages[1].direction, MessageDirection::Sent);
    EXPECT_TRUE(document.messages[1].timeEstimated);
    EXPECT_EQ(document.messages[1].correspondent, QStringLiteral("8 916 123-45-67"));
    // A folder's rows: the received keep their own time, the sent have none.
    const auto& outboxRows = *folders[std::size_t(TreeNode::ArchiveOutbox)];
    const PrintedDocument sent = printedRows(QStringLiteral("Исходящие"), outboxRows,
                                             MessageListModel::folderOrder(outboxRows), {2});
    ASSERT_EQ(sent.messages.size(), 1u);
    EXPECT_EQ(sent.messages[0].text, QStringLiteral("ответ"));
    EXPECT_FALSE(sent.messages[0].time);
}

// --- The search over the program's folders

namespace {

class SearchControllerTest : public ::testing::Test {
  protected:
    SearchControllerTest() {
        test::ensureApplication();
        workspace.archive.outbox =
            test::sentFolder({{cp("Ёжик в тумане"), "+7001"}, {"hello", "+7002"}});
        workspace.archive.draft = test::sentFolder({{cp("ежики"), "+7003"}});
    }
    void prepared() {
        ASSERT_TRUE(test::waitFor([this] { return search.isPrepared(); }));
    }
    // The texts of the last results, once `count` have come.
    QStringList resultsAfter(int count) {
        EXPECT_TRUE(test::waitFor([&] { return found.count() >= count; }));
        if (found.count() < count)
            return {};
        const auto rows = found.last().at(0).value<std::shared_ptr<const FolderRows>>();
        return GatheredRowsTest::texts(*rows);
    }

    Workspace workspace;
    SearchController search{workspace,
                            std::make_shared<const CorrespondentKeys>(QStringLiteral("RU"))};
    QSignalSpy found{&search, &SearchController::resultsFound};
    QSignalSpy ended{&search, &SearchController::searchEnded};
};

} // namespace

TEST_F(SearchControllerTest, FindsInEveryFolderAndFollowsTheirChanges) {
    search.archiveFoldersChanged();
    prepared();
    search.search(QStringLiteral("ЕЖИК"));
    EXPECT_TRUE(search.isSearching());
    EXPECT_EQ(resultsAfter(1), QStringList({"Ёжик в тумане", "ежики"}));
    EXPECT_EQ(search.query().terms, std::vector<QString>({QStringLiteral("ежик")}));
    // A folder changed: the search runs again over it.
    workspace.archive.outbox = test::sentFolder({{"hello", "+7002"}});
    search.folderChanged(TreeNode::ArchiveOutbox);
    EXPECT_EQ(resultsAfter(2), QStringList({"ежики"}));
    // Nothing to search for ends the search, once.
    search.search(QStringLiteral(" \"\" "));
    EXPECT_FALSE(search.isSearching());
    EXPECT_EQ(ended.count(), 1);
    search.endSearch();
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(SearchControllerTest, TheArchiveIsCopiedOnlyOnceItIsBack) {
    search.setArchiveLent(true);
    search.archiveFoldersChanged();
    EXPECT_TRUE(search.isPrepared()); // nothing copied while the archive is away
    workspace.archive.draft = test::sentFolder({{cp("ёж"), "+7004"}});
    search.setArchiveLent(false);
    EXPECT_FALSE(search.isPrepared());
    prepared();
    search.search(QStringLiteral("еж"));
    EXPECT_EQ(resultsAfter(1), QStringList({"Ёжик в тумане", "ёж"}));
}

// Characters the code page lacks are kept as escapes: found as themselves,
// and shown as themselves among the results.
TEST_F(SearchControllerTest, FindsTheCharactersTheCodePageLacks) {
    workspace.archive.draft =
        test::sentFolder({{archivetext::encode(QString::fromUtf8("Καλημέρα 你好 😀")), "+7005"}});
    search.archiveFoldersChanged();
    prepared();
    search.search(QString::fromUtf8("καλημέρα"));
    EXPECT_EQ(resultsAfter(1), QStringList({QString::fromUtf8("Καλημέρα 你好 😀")}));
    search.search(QString::fromUtf8("你好"));
    EXPECT_EQ(resultsAfter(2), QStringList({QString::fromUtf8("Καλημέρα 你好 😀")}));
}

TEST_F(SearchControllerTest, AConversationArrivesOffTheWindowsThread) {
    search.archiveFoldersChanged();
    prepared();
    QSignalSpy conversation(&search, &SearchController::conversationFound);
    search.showConversation(QStringLiteral("+7001"), QStringLiteral("Ёжик"));
    ASSERT_TRUE(test::waitFor([&] { return conversation.count() == 1; }));
    const auto gathered = conversation.last().at(0).value<GatheredConversation>();
    EXPECT_EQ(GatheredRowsTest::texts(*gathered.rows), QStringList({"Ёжик в тумане"}));
    EXPECT_EQ(gathered.correspondent, QStringLiteral("Ёжик"));
    // No number, no conversation.
    search.showConversation(QStringLiteral("  "), {});
    QTest::qWait(50);
    EXPECT_EQ(conversation.count(), 1);
}
