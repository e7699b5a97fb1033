// Deleting chosen records from a folder file, and all folder files at once.
#include "archive/ArchiveDeletion.h"
#include "TestFiles.h"
#include "archive/ArchiveFiles.h"
#include "tests/support/OwnTrash.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

using qb::testing::OwnTrash;

namespace {

std::string outboxHeader(int index) {
    return "+MMGL: " + std::to_string(index) + ", \"STO SENT\", \"+7001\"";
}

std::string outboxRecord(const std::string& text, int index) {
    return text + "\r\n " + std::to_string(index) + "\r\n" + outboxHeader(index) + "\r\n";
}

} // namespace

// Rows sorted by any column name their records in any order; repeats and
// numbers past the end (the file shrank) harm nothing. Hand-edited files are
// rewritten by the writer's rules: a partial last record padded, lines longer
// than a reader sees kept whole, lone LF breaks made CR LF, the file replaced
// under the name it has.
TEST(ArchiveDeletion, RemovesTheNamedRecordsWhateverTheirOrder) {
    QTemporaryDir dir;
    const std::string longText(5000, 'x');
    put(dir.filePath("DRAFT.MSG"), "a\n 1\nh1\nb\n 2\nh2\n" + longText + "\n 3\nh3\nlast");
    NullProgress progress;
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Draft, {2, 1, 2, 99}, progress));
    EXPECT_EQ(progress.position(), 2);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"DRAFT.MSG"});
    EXPECT_EQ(slurp(dir.filePath("DRAFT.MSG")), longText + "\r\n 3\r\nh3\r\nlast\r\n\r\n\r\n");
}

TEST(ArchiveDeletion, AFileThatCannotBeReadOrWrittenKeepsItsContent) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Inbox.msg");
    NullProgress progress;
    const auto unreadable = deleteArchiveRecords(dir.path(), FolderKind::Inbox, {1}, progress);
    ASSERT_TRUE(unreadable);
    EXPECT_TRUE(unreadable->text().startsWith("Cannot open file \"" + dir.filePath("Inbox.msg")));

    const std::string old = outboxRecord(std::string(200, 'a'), 1) + outboxRecord("b", 2);
    put(dir.filePath("Outbox.msg"), old);
    MaybeFailure full;
    {
        FileSizeLimit limit(64);
        full = deleteArchiveRecords(dir.path(), FolderKind::Outbox, {2}, progress);
    }
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->text().startsWith("Cannot create file \"" + dir.filePath("Outbox.msg")));
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), old);
}

std::vector<std::string> outboxLines(const std::string& text, int index) {
    return {text, " " + std::to_string(index), outboxHeader(index)};
}

// A record chosen by what the list showed is removed only while it still holds
// every line of it: a file replaced under the list (the second record now
// another message) loses nothing.
TEST(ArchiveDeletion, RemovesNothingWhenAChosenRecordNoLongerHoldsWhatWasShown) {
    QTemporaryDir dir;
    const std::string now = outboxRecord("a", 1) + outboxRecord("new", 2) + outboxRecord("c", 3);
    put(dir.filePath("Outbox.msg"), now);
    NullProgress progress;
    const auto changed = deleteArchiveRecords(
        dir.path(), FolderKind::Outbox, {{1, outboxLines("a", 1)}, {2, outboxLines("old", 2)}},
        progress);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->text(), changedRecordsFailure().text());
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), now);
    // The index line counts too, and a record the list never had matches nothing.
    EXPECT_TRUE(deleteArchiveRecords(dir.path(), FolderKind::Outbox, {{3, outboxLines("c", 2)}},
                                     progress));
    EXPECT_TRUE(deleteArchiveRecords(dir.path(), FolderKind::Outbox, {{3, {}}}, progress));
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Outbox,
                                      {{2, outboxLines("new", 2)}, {3, outboxLines("c", 3)}},
                                      progress));
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), outboxRecord("a", 1));
}

// Phones give indexes out again and short texts repeat: two received messages
// alike in text, index and header differ in their date alone. Another copy of
// Quillbox deleted the first; the one still listed here is never taken for it.
TEST(ArchiveDeletion, TheDateTellsAlikeMessagesApart) {
    QTemporaryDir dir;
    const std::string header = "+MMGL: 1, \"REC READ\", \"+79161234567\"";
    const std::string ok = cp("ок");
    const std::vector<std::string> r1 = {ok, "1", header, "01/02/2005,10:11:12"};
    const std::string r2 = ok + "\r\n1\r\n" + header + "\r\n05/03/2006,08:00:00\r\n";
    const std::string r3 = cp("третье") + "\r\n2\r\n" + header + "\r\n06/03/2006,08:00:00\r\n";
    put(dir.filePath("Inbox.msg"), r2 + r3);
    NullProgress progress;
    const auto refused = deleteArchiveRecords(dir.path(), FolderKind::Inbox, {{1, r1}}, progress);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text(), changedRecordsFailure().text());
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), r2 + r3);
}

// One click with no question must be undoable: the files go to the trash. A
// second spelling of a folder file would be found by the next reload in place
// of the removed one, so it goes too.
TEST(ArchiveDeletion, DeletingAllTrashesEverySpellingAndKeepsThePhonebook) {
    OwnTrash trash;
    QTemporaryDir dir;
    put(dir.filePath("draft.msg"), outboxRecord("b", 1));
    put(dir.filePath("Draft.msg"), outboxRecord("c", 1));
    put(dir.filePath("Phonebook.pbk"), "3\r\n+7001\r\nIvan\r\n\r\n");
    EXPECT_EQ(deleteAllFolderFiles(dir.path()), WipeOutcome::Trashed);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"Phonebook.pbk"});
    EXPECT_EQ(trash.files(), QStringList({"Draft.msg", "draft.msg"}));
}
