// One writer at a time, with two processes on one archive folder: nothing
// either of them writes is lost, a change waits for the other's and is made
// on top of it, and a wait that lasts ends in a clear message.
#include "archive/ArchiveLock.h"
#include "TestFiles.h"
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFiles.h"
#include "tests/support/JobRun.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace qb;
using namespace qb::test;

namespace {

// Another copy holding the archive until told to write and let go.
struct Holder {
    QProcess process;
    explicit Holder(const QString& dir) {
        ensureApplication();
        process.start(QStringLiteral(ARCHIVE_WRITER), {"hold", dir});
        EXPECT_TRUE(process.waitForReadyRead(30000));
        EXPECT_EQ(process.readLine().trimmed(), "held");
    }
    void writeAndLetGo() {
        process.write("go\n");
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
    }
};

std::string inboxRecord(const std::string& text, int index) {
    const std::string idx = std::to_string(index);
    return text + "\r\n" + idx + "\r\n+MMGL: " + idx +
           ", \"REC READ\", \"+7\"\r\n01/01/2005,10:00:00\r\n";
}

std::multiset<std::string> texts(const ArchiveFolder& folder) {
    std::multiset<std::string> all;
    for (const MessageView message : folder)
        all.insert(std::string(message.text));
    return all;
}

} // namespace

// Two copies import and merge into one folder at the same time: every message
// of both ends up in the files, once.
TEST(ArchiveLock, TwoProcessesWritingAtOnceLoseNothing) {
    ensureApplication();
    QTemporaryDir dir;
    constexpr int Each = 40;
    QProcess a, b;
    a.start(QStringLiteral(ARCHIVE_WRITER), {"write", dir.path(), "a", QString::number(Each)});
    b.start(QStringLiteral(ARCHIVE_WRITER), {"write", dir.path(), "b", QString::number(Each)});
    for (QProcess* writer : {&a, &b}) {
        ASSERT_TRUE(writer->waitForFinished(120000));
        ASSERT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    std::multiset<std::string> expected;
    for (const char* tag : {"a", "b"})
        for (int i = 0; i < Each; ++i)
            expected.insert(std::string(tag) + "-" + std::to_string(i));
    EXPECT_EQ(texts(archive.inbox), expected);
    EXPECT_EQ(texts(archive.outbox), expected);
    EXPECT_EQ(filesIn(dir.path()), QStringList({"Draft.msg", "Inbox.msg", "Outbox.msg",
                                                "Phonebook.pbk", "a.txt", "b.txt"}));
}

// While another copy holds the archive, having read Inbox.msg, a deletion
// here waits; it then works on the file as the other left it, so the
// other's record stays and the chosen one still goes.
TEST(ArchiveLock, AChangeWaitsAndIsMadeOnTopOfTheOthers) {
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), inboxRecord("one", 1) + inboxRecord("two", 2));
    const auto chosen = chosenAsShown(dir.filePath("Inbox.msg"), FolderKind::Inbox, {1});
    Holder other(dir.path());
    MaybeFailure failure;
    std::thread deletion([&] {
        NullProgress progress;
        failure = deleteArchiveRecords(dir.path(), FolderKind::Inbox, chosen, progress);
    });
    // Time for a deletion that did not wait to run ahead of the other copy.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    other.writeAndLetGo();
    deletion.join();
    EXPECT_FALSE(failure);
    Archive archive;
    ASSERT_FALSE(reloadArchive(dir.path(), archive));
    EXPECT_EQ(texts(archive.inbox), (std::multiset<std::string>{"two", "held"}));
}

// A wait that lasts beyond its patience writes nothing and says why; so does
// one that is cancelled. The lock file is the only file made for it.
TEST(ArchiveLock, AWaitThatLastsEndsInAClearMessage) {
    QTemporaryDir dir;
    const std::string inbox = inboxRecord("one", 1);
    put(dir.filePath("Inbox.msg"), inbox);
    Holder other(dir.path());
    const ArchiveLock impatient(dir.path(), nullptr, std::chrono::milliseconds(100));
    ASSERT_TRUE(impatient.failure());
    EXPECT_EQ(impatient.failure()->text(), ArchiveLock::busyFailure(dir.path()).text());
    EXPECT_TRUE(impatient.failure()->text().contains(dir.path()));

    Cancellation cancel;
    cancel.request();
    NullProgress progress;
    EXPECT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Inbox, {{1, {}}}, progress, &cancel));
    EXPECT_TRUE(cancel.stopped());
    EXPECT_EQ(slurp(dir.filePath("Inbox.msg")), inbox);

    other.writeAndLetGo();
    const ArchiveLock free(dir.path());
    EXPECT_TRUE(free.mayWrite());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".quillbox.lock", "Inbox.msg"}));
}
