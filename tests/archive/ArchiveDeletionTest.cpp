// Deleting chosen records from a folder file, and all folder files at once.
#include "archive/ArchiveDeletion.h"
#include "TestFiles.h"
#include "archive/ArchiveFiles.h"
#include "tests/support/OwnTrash.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// "name fate" for each file the wipe met, in order.
std::string fates(const WipeReport& report) {
    std::string text;
    for (const WipedFile& file : report.files) {
        text += (text.empty() ? "" : ", ") + file.name.toStdString();
        switch (file.fate) {
        case WipedFile::Fate::Trashed:
            text += " trashed";
            break;
        case WipedFile::Fate::Removed:
            text += " removed";
            break;
        case WipedFile::Fate::Left:
            text += " left (" + std::to_string(file.error) + ")";
            break;
        }
    }
    return text;
}

// Runs `wipe` as a user the folder's modes bind: root passes them by, so a
// root test runs it in a child process turned into "nobody", whose home
// (the test's trash) is opened up to it.
template <typename Wipe> WipeReport asAnotherUser(OwnTrash& trash, Wipe wipe) {
    if (::geteuid() != 0)
        return wipe();
    ::chmod(QFile::encodeName(trash.home.path()).constData(), 0777);
    ::chmod(QFile::encodeName(trash.home.filePath("data")).constData(), 0777);
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const WipeReport report = wipe();
        for (const WipedFile& file : report.files) {
            const QByteArray line = file.name.toUtf8() + ' ' + QByteArray::number(int(file.fate)) +
                                    ' ' + QByteArray::number(file.error) + '\n';
            if (::write(channel[1], line.constData(), std::size_t(line.size())) < 0)
                ::_exit(3);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    QFile pipe;
    pipe.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    WipeReport report;
    for (const QByteArray& line : pipe.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3)
            report.files.push_back(
                {QString::fromUtf8(parts[0]), WipedFile::Fate(parts[1].toInt()), parts[2].toInt()});
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return report;
}

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
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
    const auto chosen = chosenAsShown(dir.filePath("DRAFT.MSG"), FolderKind::Draft, {2, 1, 2, 99});
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Draft, chosen, progress));
    EXPECT_EQ(progress.position(), 2);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"DRAFT.MSG"});
    EXPECT_EQ(slurp(dir.filePath("DRAFT.MSG")), longText + "\r\n 3\r\nh3\r\nlast\r\n\r\n\r\n");
}

TEST(ArchiveDeletion, AFileThatCannotBeReadOrWrittenKeepsItsContent) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Inbox.msg");
    NullProgress progress;
    const auto unreadable =
        deleteArchiveRecords(dir.path(), FolderKind::Inbox, {{1, {}}}, progress);
    ASSERT_TRUE(unreadable);
    EXPECT_TRUE(unreadable->text().startsWith("Cannot open file \"" + dir.filePath("Inbox.msg")));

    const std::string old = outboxRecord(std::string(200, 'a'), 1) + outboxRecord("b", 2);
    put(dir.filePath("Outbox.msg"), old);
    MaybeFailure full;
    {
        FileSizeLimit limit(64);
        full = deleteArchiveRecords(
            dir.path(), FolderKind::Outbox,
            chosenAsShown(dir.filePath("Outbox.msg"), FolderKind::Outbox, {2}), progress);
    }
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->text().startsWith("Cannot create file \"" + dir.filePath("Outbox.msg")));
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), old);
}

ChosenRecord outboxShown(int k, const std::string& text, int index) {
    return {k,
            fromLines(FolderKind::Outbox, text, " " + std::to_string(index), outboxHeader(index))};
}

// A record chosen by what the list showed is removed only while it still holds
// every line of it: a file replaced under the list (the second record now
// another message) loses nothing.
TEST(ArchiveDeletion, RemovesNothingWhenAChosenRecordNoLongerHoldsWhatWasShown) {
    QTemporaryDir dir;
    const std::string now = outboxRecord("a", 1) + outboxRecord("new", 2) + outboxRecord("c", 3);
    put(dir.filePath("Outbox.msg"), now);
    NullProgress progress;
    const auto changed =
        deleteArchiveRecords(dir.path(), FolderKind::Outbox,
                             {outboxShown(1, "a", 1), outboxShown(2, "old", 2)}, progress);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->text(), changedRecordsFailure().text());
    EXPECT_EQ(slurp(dir.filePath("Outbox.msg")), now);
    // The index line counts too, and a record the list never had matches nothing.
    EXPECT_TRUE(
        deleteArchiveRecords(dir.path(), FolderKind::Outbox, {outboxShown(3, "c", 2)}, progress));
    EXPECT_TRUE(deleteArchiveRecords(dir.path(), FolderKind::Outbox, {{3, {}}}, progress));
    ASSERT_FALSE(deleteArchiveRecords(dir.path(), FolderKind::Outbox,
                                      {outboxShown(2, "new", 2), outboxShown(3, "c", 3)},
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
    const ChosenRecord r1{1, fromLines(FolderKind::Inbox, ok, "1", header, "01/02/2005,10:11:12")};
    const std::string r2 = ok + "\r\n1\r\n" + header + "\r\n05/03/2006,08:00:00\r\n";
    const std::string r3 = cp("третье") + "\r\n2\r\n" + header + "\r\n06/03/2006,08:00:00\r\n";
    put(dir.filePath("Inbox.msg"), r2 + r3);
    NullProgress progress;
    const auto refused = deleteArchiveRecords(dir.path(), FolderKind::Inbox, {r1}, progress);
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
    const WipeReport report = deleteAllFolderFiles(dir.path());
    EXPECT_FALSE(report.failure);
    EXPECT_EQ(fates(report), "Draft.msg trashed, draft.msg trashed");
    EXPECT_EQ(filesIn(dir.path()), QStringList{"Phonebook.pbk"});
    EXPECT_EQ(trash.files(), QStringList({"Draft.msg", "draft.msg"}));

    // A folder at a folder file's name is no message file: it stays, said so.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Inbox.msg/photos"));
    EXPECT_EQ(fates(deleteAllFolderFiles(dir.path())),
              "Inbox.msg left (" + std::to_string(EISDIR) + ")");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Inbox.msg/photos")));
}

// A fresh account without ~/.local/share: the home trash is made where it
// belongs, and nothing but the lock file appears beside the archive. With no
// folder files at all there is nothing to report and no trash to make.
TEST(ArchiveDeletion, DeletingAllMakesTheHomeTrashNotFoldersBesideTheArchive) {
    QTemporaryDir home, dir;
    const QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DATA_HOME");
    const WipeReport none = deleteAllFolderFiles(dir.path());
    EXPECT_TRUE(none.files.empty());
    EXPECT_FALSE(QFileInfo::exists(home.filePath(".local")));
    put(dir.filePath("Inbox.msg"), "a\r\n1\r\nh\r\nd\r\n");
    put(dir.filePath("Outbox.msg"), outboxRecord("b", 1));
    const WipeReport report = deleteAllFolderFiles(dir.path());
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldData);
    EXPECT_EQ(fates(report), "Inbox.msg trashed, Outbox.msg trashed");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{".quillbox.lock"});
    EXPECT_EQ(QDir(home.filePath(".local/share/Trash/files")).entryList(QDir::Files),
              QStringList({"Inbox.msg", "Outbox.msg"}));
}

// A folder the user may not change: every file stays, and the report says so
// with the system's reason, rather than claiming they were removed.
TEST(ArchiveDeletion, DeletingAllInAReadOnlyFolderLeavesTheFilesAndSaysWhy) {
    OwnTrash trash;
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), "a\r\n1\r\nh\r\nd\r\n");
    put(dir.filePath("Draft.msg"), outboxRecord("b", 1));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const WipeReport report =
        asAnotherUser(trash, [&] { return deleteAllFolderFiles(dir.path()); });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(fates(report), "Inbox.msg left (" + std::to_string(EACCES) + "), Draft.msg left (" +
                                 std::to_string(EACCES) + ")");
    EXPECT_EQ(filesIn(dir.path()), QStringList({"Draft.msg", "Inbox.msg"}));
    EXPECT_TRUE(trash.files().isEmpty());
}

// An immutable file stays, said so; the others go to the trash all the same.
TEST(ArchiveDeletion, DeletingAllLeavesAnImmutableFileAndTrashesTheRest) {
    OwnTrash trash;
    QTemporaryDir dir;
    put(dir.filePath("Inbox.msg"), "a\r\n1\r\nh\r\nd\r\n");
    put(dir.filePath("Outbox.msg"), outboxRecord("b", 1));
    if (!setImmutable(dir.filePath("Inbox.msg"), true))
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    const WipeReport report = deleteAllFolderFiles(dir.path());
    setImmutable(dir.filePath("Inbox.msg"), false);
    EXPECT_EQ(fates(report), "Inbox.msg left (" + std::to_string(EPERM) + "), Outbox.msg trashed");
    EXPECT_EQ(filesIn(dir.path()), QStringList({"Inbox.msg"}));
    EXPECT_EQ(trash.files(), QStringList({"Outbox.msg"}));
}
