// Deleting chosen records from a folder file, and all folder files at once.
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "core/FileStore.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using namespace qb;
using namespace qb::test;

namespace {

std::string inboxRecord(const std::string& text, int index, const std::string& number)
{
    const std::string idx = std::to_string(index);
    return text + "\r\n" + idx + "\r\n+MMGL: " + idx + ", \"REC READ\", \"" + number +
           "\"\r\n07/03/2005,09:05:01\r\n";
}

std::string outboxRecord(const std::string& text, int index)
{
    const std::string idx = " " + std::to_string(index);
    return text + "\r\n" + idx + "\r\n+MMGL:" + idx + ", \"STO SENT\", \"+7001\"\r\n";
}

struct Folder : QTemporaryDir {
    QString file(FolderKind kind) const { return filePath(folderFileName(kind)); }
};

} // namespace

// The records named go, whatever order the rows were in after sorting; records
// the list never showed (appended after it was filled) stay; the file keeps
// its layout and the progress counts the removed records.
TEST(ArchiveDeletion, RemovesExactlyTheNamedRecordsAndKeepsTheRest)
{
    Folder dir;
    const std::string one = inboxRecord("one", 1, "+7001"), two = inboxRecord("two", 2, "+7002"),
                      three = inboxRecord(cp("три"), 3, "+7003"), late = inboxRecord("late", 4, "+7004");
    put(dir.file(FolderKind::Inbox), one + two + three + late);
    NullProgress progress;
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Inbox, {2}, progress));
    EXPECT_EQ(slurp(dir.file(FolderKind::Inbox)), one + three + late);
    EXPECT_EQ(progress.position(), 1);

    // Rows sorted by another column name their records in any order, and a
    // number past the end (the file shrank) names nothing.
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Inbox, {3, 1, 3, 99}, progress));
    EXPECT_EQ(slurp(dir.file(FolderKind::Inbox)), three);
    EXPECT_EQ(fileLines::count(slurp(dir.file(FolderKind::Inbox))), 4u);

    // With no row selected the content stays as it was.
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Inbox, {}, progress));
    EXPECT_EQ(slurp(dir.file(FolderKind::Inbox)), three);
}

TEST(ArchiveDeletion, AnEmptiedOrMissingFolderIsWrittenAsAnEmptyFile)
{
    Folder dir;
    put(dir.file(FolderKind::Outbox), outboxRecord("a", 1) + outboxRecord("b", 2));
    NullProgress progress;
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Outbox, {1, 2}, progress));
    EXPECT_EQ(slurp(dir.file(FolderKind::Outbox)), "");
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(archive.outbox.count(), 0);

    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Draft, {1}, progress));
    EXPECT_EQ(slurp(dir.file(FolderKind::Draft)), "");
}

// Files written by hand: a partial last record is padded to its size, lines
// longer than a reader sees are kept whole, lone LF breaks become CR LF, and a
// differently spelt file name is replaced in place.
TEST(ArchiveDeletion, RewritesHandEditedFilesByTheWritersRules)
{
    Folder dir;
    const std::string longText(5000, 'x');
    put(dir.filePath("DRAFT.MSG"), "gone\n 1\nh1\n" + longText + "\n 2\nh2\nlast");
    NullProgress progress;
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Draft, {1}, progress));
    EXPECT_EQ(filesIn(dir.path()), QStringList{"DRAFT.MSG"});
    EXPECT_EQ(slurp(dir.filePath("DRAFT.MSG")),
              longText + "\r\n 2\r\nh2\r\nlast\r\n\r\n\r\n");
}

TEST(ArchiveDeletion, AFileThatCannotBeReadOrWrittenKeepsItsContent)
{
    Folder dir;
    QDir(dir.path()).mkdir("Inbox.msg");
    NullProgress progress;
    const auto unreadable = deleteArchiveRecords(dir.path(), FolderKind::Inbox, {1}, progress);
    ASSERT_TRUE(unreadable);
    EXPECT_TRUE(unreadable->text().startsWith("Cannot open file \"" + dir.file(FolderKind::Inbox)));

    // A full disk, played by a file-size limit: the old content stays.
    const std::string old = outboxRecord(std::string(200, 'a'), 1) + outboxRecord("b", 2);
    put(dir.file(FolderKind::Outbox), old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto full = deleteArchiveRecords(dir.path(), FolderKind::Outbox, {2}, progress);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->text().startsWith("Cannot create file \"" + dir.file(FolderKind::Outbox)));
    EXPECT_EQ(slurp(dir.file(FolderKind::Outbox)), old);
}

TEST(ArchiveDeletion, DeletingAllRemovesTheFolderFilesAndKeepsThePhonebook)
{
    Folder dir;
    put(dir.file(FolderKind::Outbox), outboxRecord("a", 1));
    put(dir.filePath("draft.msg"), outboxRecord("b", 1));
    put(dir.filePath("Draft.msg"), outboxRecord("c", 1)); // a second spelling must go too
    put(dir.filePath("Phonebook.pbk"), "3\r\n+7001\r\nIvan\r\n\r\n");
    deleteAllFolderFiles(dir.path()); // Inbox.msg does not exist
    EXPECT_EQ(filesIn(dir.path()), QStringList{"Phonebook.pbk"});
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(archive.draft.count(), 0);

    deleteAllFolderFiles(dir.path()); // nothing left to remove: no harm
    EXPECT_EQ(filesIn(dir.path()), QStringList{"Phonebook.pbk"});
}
