// The archive's file jobs against the functions they run: same files, same
// failures, the reload's folders, and nothing written once cancelled.
#include "archive/ArchiveJobs.h"
#include "TestFiles.h"
#include "archive/ArchiveDeletion.h"
#include "archive/P2kToolsImport.h"
#include "tests/support/JobRun.h"
#include "tests/support/OwnTrash.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using namespace qb::test;

namespace {

const std::string OldInbox = "old\r\n1\r\n+MMGL: 1, \"REC READ\", \"+7001\"\r\nd\r\n";

std::string p2kLines(int count) {
    std::string lines;
    for (int n = 0; n < count; ++n)
        lines += "+7001;2006/1/2,3:04:05;text " + std::to_string(n) + "\r\n";
    return lines;
}

std::vector<std::string> texts(const ArchiveFolder& folder) {
    std::vector<std::string> result;
    for (const MessageView message : folder) {
        result.emplace_back();
        record::appendRecord(result.back(), message);
    }
    return result;
}

} // namespace

TEST(ImportJob, WritesAndReloadsWhatTheImportWouldAndReportsOnThisThread) {
    QTemporaryDir direct, job;
    for (const QTemporaryDir* dir : {&direct, &job}) {
        put(dir->filePath("Inbox.msg"), OldInbox);
        put(dir->filePath("p2k.txt"), p2kLines(300));
    }
    NullProgress progress;
    ASSERT_FALSE(importP2kToolsArchive(direct.path(), direct.filePath("p2k.txt"), progress));
    Archive expected;
    ASSERT_FALSE(reloadArchive(direct.path(), expected));

    ImportJob import(job.path(), job.filePath("p2k.txt"));
    const JobRun run = runJob(import);
    EXPECT_EQ(run.finished, 1);
    EXPECT_FALSE(import.failure());
    EXPECT_FALSE(import.cancelled());
    EXPECT_TRUE(import.changed());
    EXPECT_EQ(slurp(job.filePath("Inbox.msg")), slurp(direct.filePath("Inbox.msg")));
    EXPECT_EQ(texts(import.takeReload().archive.inbox), texts(expected.inbox));
    ASSERT_FALSE(run.progress.empty());
    EXPECT_TRUE(run.progressOnThisThread);
    EXPECT_EQ(run.progress.back().maximum, 300);
    EXPECT_FALSE(run.progress.back().visible);

    ImportJob missing(job.path(), "/nonexistent/p2k.txt");
    EXPECT_EQ(runJob(missing).finished, 1);
    ASSERT_TRUE(missing.failure());
    EXPECT_EQ(missing.failure()->text(),
              importP2kToolsArchive(direct.path(), "/nonexistent/p2k.txt", progress)->text());
    EXPECT_FALSE(missing.changed());
}

// Asked before it starts, or between two lines (here as soon as the bar learns
// the line count), the import stops with the Inbox untouched and no file left over.
TEST(ImportJob, CancelledImportLeavesTheInboxAsItWas) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), OldInbox);
    put(dir.filePath("p2k.txt"), p2kLines(5000));

    ImportJob early(dir.path(), dir.filePath("p2k.txt"));
    early.cancel();
    EXPECT_EQ(runJob(early).finished, 1);
    EXPECT_TRUE(early.cancelled());

    ImportJob midway(dir.path(), dir.filePath("p2k.txt"));
    QObject::connect(
        &midway.progress(), &ProgressSignal::changed, &midway.progress(),
        [&midway](const ProgressState& state) {
            if (state.maximum == 5000)
                midway.cancel();
        },
        Qt::DirectConnection);
    const JobRun run = runJob(midway);
    EXPECT_EQ(run.finished, 1);
    EXPECT_TRUE(midway.cancelled());
    EXPECT_FALSE(midway.failure());
    EXPECT_FALSE(midway.changed());
    EXPECT_FALSE(run.progress.back().visible);
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), OldInbox);
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"Inbox.msg", "p2k.txt"}));
}

// Destroyed while it runs: the work is stopped or finished, never cut in half.
TEST(ImportJob, DestroyedWhileRunningLeavesAWholeInbox) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), OldInbox);
    put(dir.filePath("p2k.txt"), p2kLines(200000));
    ensureApplication();
    {
        ImportJob import(dir.path(), dir.filePath("p2k.txt"));
        import.start();
    }
    const std::string inbox = slurp(dir.filePath("Inbox.msg"));
    EXPECT_TRUE(inbox == OldInbox || inbox.size() > OldInbox.size() + 200000 * 40);
    EXPECT_EQ(filesIn(dir.path()), (QStringList{"Inbox.msg", "p2k.txt"}));
}

TEST(DeleteRecordsJob, RemovesWhatTheDeletionWouldAndHandsOverTheReload) {
    QTemporaryDir direct, job;
    const std::string draft = "a\r\nh\r\n1\r\nb\r\nh\r\n2\r\nc\r\nh\r\n3\r\n";
    for (const QTemporaryDir* dir : {&direct, &job}) {
        put(dir->filePath("Inbox.msg"), OldInbox);
        put(dir->filePath("Draft.msg"), draft);
    }
    NullProgress progress;
    const auto chosen = chosenAsShown(direct.filePath("Draft.msg"), FolderKind::Draft, {2});
    ASSERT_FALSE(deleteArchiveRecords(direct.path(), FolderKind::Draft, chosen, progress));

    Archive stale;
    stale.outbox = folderWith(FolderKind::Outbox, 5); // the reload replaces every folder
    DeleteRecordsJob deletion(job.path(), FolderKind::Draft, chosen, std::move(stale));
    const JobRun run = runJob(deletion);
    EXPECT_EQ(run.finished, 1);
    EXPECT_FALSE(deletion.failure());
    EXPECT_EQ(slurp(job.filePath("Draft.msg")), slurp(direct.filePath("Draft.msg")));
    const ArchiveReload reload = deletion.takeReload();
    EXPECT_TRUE(reload.read);
    EXPECT_FALSE(reload.phonebook); // a deletion leaves the phonebook alone
    const Archive& archive = reload.archive;
    EXPECT_EQ(archive.draft.count(), 2);
    EXPECT_EQ(archive.inbox.count(), 1);
    EXPECT_EQ(archive.outbox.count(), 0);
    EXPECT_EQ(run.progress.back(), (ProgressState{1, 1, true, false}));
}

// The file was changed but Outbox.msg cannot be read: the failure is the
// reload's, and only the folder read before it is replaced, as a reload in
// place would have left it.
TEST(DeleteRecordsJob, AReloadThatFailsReplacesTheFoldersBeforeIt) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), OldInbox + OldInbox);
    QDir(dir.path()).mkdir("Outbox.msg");
    Archive held;
    held.outbox = folderWith(FolderKind::Outbox, 3);
    DeleteRecordsJob deletion(dir.path(), FolderKind::Inbox,
                              chosenAsShown(dir.filePath("Inbox.msg"), FolderKind::Inbox, {1}),
                              std::move(held));
    runJob(deletion);
    ASSERT_TRUE(deletion.failure());
    EXPECT_TRUE(deletion.failure()->text().startsWith("Cannot open file"));
    EXPECT_TRUE(deletion.changed());
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), OldInbox);
    const Archive archive = deletion.takeReload().archive;
    EXPECT_EQ(archive.inbox.count(), 1);
    EXPECT_EQ(archive.outbox.count(), 3);
}

// The start-up load and the load after a phone read: folders and phonebook
// read on a worker thread, over the archive handed in, and handed back.
TEST(ReloadJob, ReadsTheFoldersAndThePhonebookOverTheArchiveItIsGiven) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), OldInbox);
    put(dir.filePath("Phonebook.pbk"), "3\r\n+7001\r\nIvan\r\n\r\n");
    Archive held;
    held.draft = folderWith(FolderKind::Draft, 4); // the file is gone: the folder empties
    ReloadJob reload(dir.path(), std::move(held));
    EXPECT_EQ(runJob(reload).finished, 1);
    EXPECT_FALSE(reload.failure());
    ArchiveReload read = reload.takeReload();
    EXPECT_TRUE(read.read);
    EXPECT_EQ(read.archive.inbox.count(), 1);
    EXPECT_EQ(read.archive.draft.count(), 0);
    ASSERT_TRUE(read.phonebook);
    EXPECT_EQ(read.phonebook->entries.at(0).name, "Ivan");

    // No phonebook file: the one known stays; an unreadable one is reported.
    QFile::remove(dir.filePath("Phonebook.pbk"));
    ReloadJob without(dir.path(), {});
    runJob(without);
    EXPECT_FALSE(without.takeReload().phonebook);
    QDir(dir.path()).mkdir("Phonebook.pbk");
    ReloadJob unreadable(dir.path(), {});
    runJob(unreadable);
    const ArchiveReload failed = unreadable.takeReload();
    ASSERT_TRUE(failed.phonebookFailure);
    EXPECT_TRUE(failed.phonebookFailure->text().startsWith("Cannot open file"));
    EXPECT_EQ(failed.archive.inbox.count(), 1);
}

// "Delete all" off the window's thread: the report of each file, then the reload.
TEST(DeleteAllJob, ReportsEachFileAndReloads) {
    qb::testing::OwnTrash trash;
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), OldInbox);
    Archive held;
    held.inbox = folderWith(FolderKind::Inbox, 1);
    DeleteAllJob wipe(dir.path(), std::move(held));
    EXPECT_EQ(runJob(wipe).finished, 1);
    EXPECT_TRUE(wipe.changed());
    ASSERT_EQ(wipe.report().files.size(), 1u);
    EXPECT_EQ(wipe.report().files[0].fate, WipedFile::Fate::Trashed);
    EXPECT_EQ(wipe.takeReload().archive.inbox.count(), 0);
    EXPECT_EQ(trash.files(), QStringList{"Inbox.msg"});
}
