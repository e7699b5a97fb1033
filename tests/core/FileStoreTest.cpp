#include "core/FileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qb;

namespace {

void put(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(FileStore, ResolvesNamesWithoutRegardToCaseButPrefersAnExactMatch) {
    QTemporaryDir dir;
    put(dir.filePath("OUTBOX.MSG"), "x");
    EXPECT_EQ(resolveInDir(dir.path(), "Outbox.msg"), dir.path() + "/OUTBOX.MSG");
    put(dir.filePath("Outbox.msg"), "y");
    EXPECT_EQ(resolveInDir(dir.path(), "Outbox.msg"), dir.path() + "/Outbox.msg");
    EXPECT_EQ(resolveInDir(dir.path(), "Draft.msg"), dir.path() + "/Draft.msg");
}

TEST(FileStore, WritesWholeFilesAndReadsThemBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Inbox.msg");
    ASSERT_FALSE(writeWholeFile(path, std::string("a\r\n\0b\r\n", 7)));
    const FileRead read = readWholeFile(path);
    EXPECT_TRUE(read.exists);
    EXPECT_FALSE(read.failure);
    EXPECT_EQ(read.bytes, std::string("a\r\n\0b\r\n", 7));
    EXPECT_FALSE(readWholeFile(dir.filePath("none")).exists);
}

// A full disk, played by a file-size limit (which binds root too): the write
// fails, the old content stays and the message names the file.
TEST(FileStore, AFailedWriteLeavesTheOldFileAndNamesThePath) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Inbox.msg");
    put(path, "old");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const MaybeFailure failure = writeWholeFile(path, std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->text().startsWith("Cannot create file \"" + path + "\". "));
    EXPECT_EQ(readWholeFile(path).bytes, "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Inbox.msg"}); // no leftovers
}

TEST(FileStore, ADirectoryInPlaceOfAFileCannotBeOpened) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Inbox.msg");
    const FileRead read = readWholeFile(dir.filePath("Inbox.msg"));
    ASSERT_TRUE(read.failure);
    EXPECT_TRUE(read.failure->text().startsWith("Cannot open file"));
}

TEST(WholeNumber, AcceptsSignedDecimalsOnly) {
    EXPECT_EQ(parseWholeNumber("7"), 7);
    EXPECT_EQ(parseWholeNumber("-1"), -1);
    EXPECT_EQ(parseWholeNumber("+3"), 3);
    EXPECT_FALSE(parseWholeNumber(""));
    EXPECT_FALSE(parseWholeNumber(" 7"));
    EXPECT_FALSE(parseWholeNumber("7a"));
    EXPECT_FALSE(parseWholeNumber("99999999999"));
}

// The archive holds personal messages: a file the program creates is its
// owner's alone, whatever the umask lets through; one the user already has
// keeps the mode the user gave it.
TEST(FileStore, NewFilesAreTheOwnersAloneAndExistingOnesKeepTheirMode) {
    QTemporaryDir dir;
    const mode_t savedMask = ::umask(022);
    const auto modeOf = [](const QString& path) {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    ASSERT_FALSE(writeWholeFile(dir.filePath("Inbox.msg"), "new\r\n"));
    EXPECT_EQ(modeOf(dir.filePath("Inbox.msg")), 0600u);

    put(dir.filePath("Outbox.msg"), "old");
    ::chmod(QFile::encodeName(dir.filePath("Outbox.msg")).constData(), 0644);
    ASSERT_FALSE(writeWholeFile(dir.filePath("Outbox.msg"), "replaced\r\n"));
    EXPECT_EQ(modeOf(dir.filePath("Outbox.msg")), 0644u);

    ASSERT_FALSE(writeWholeFile(dir.filePath("export.htm"), "x", NewFileAccess::Usual));
    EXPECT_EQ(modeOf(dir.filePath("export.htm")), 0644u);
    ::umask(savedMask);
}

// What lies at a file's name may be anything: a FIFO must not stall the read,
// a device or a huge file must not fill memory. Each is refused by name.
TEST(FileStore, ReadsRegularFilesOnlyWithoutWaitingAndWithinTheLimit) {
    QTemporaryDir dir;
    const auto reasonFor = [&](const char* name) {
        const FileRead read = readWholeFile(dir.filePath(name));
        EXPECT_TRUE(read.exists && read.bytes.empty());
        return read.failure ? read.failure->text() : QString("read");
    };
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    EXPECT_EQ(reasonFor("fifo"),
              "Cannot open file \"" + dir.filePath("fifo") + "\". Not a regular file");
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero")));
    EXPECT_TRUE(reasonFor("zero").endsWith("Not a regular file"));
    QFile huge(dir.filePath("huge"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(MaxFileBytes) + 1));
    EXPECT_TRUE(reasonFor("huge").endsWith("File too large (the limit is 128 MB)"));
    put(dir.filePath("small"), "ab");
    EXPECT_EQ(readWholeFile(dir.filePath("small"), 1).failure->reason,
              "File too large (the limit is 0 MB)");
}

// Set-id and sticky bits never survive a rewrite, and a link planted at the
// name lends the new file nothing: it is replaced, its target left alone.
TEST(FileStore, RewritesDropSpecialBitsAndTakeNoModeThroughALink) {
    QTemporaryDir dir;
    const mode_t savedMask = ::umask(022);
    const auto modeOf = [](const QString& path) {
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        return info.st_mode;
    };
    put(dir.filePath("sms-backup.xml"), "old");
    ::chmod(QFile::encodeName(dir.filePath("sms-backup.xml")).constData(), 04777);
    ASSERT_FALSE(writeWholeFile(dir.filePath("sms-backup.xml"), "new", NewFileAccess::Usual));
    EXPECT_EQ(modeOf(dir.filePath("sms-backup.xml")) & 07777, 0777u);

    put(dir.filePath("target"), "theirs");
    ::chmod(QFile::encodeName(dir.filePath("target")).constData(), 04755);
    ASSERT_TRUE(QFile::link(dir.filePath("target"), dir.filePath("contacts.vcf")));
    ASSERT_FALSE(writeWholeFile(dir.filePath("contacts.vcf"), "mine"));
    EXPECT_EQ(modeOf(dir.filePath("contacts.vcf")), S_IFREG | 0600u);
    EXPECT_EQ(readWholeFile(dir.filePath("target")).bytes, "theirs");
    ::umask(savedMask);
}

// A write killed midway, here by the file-size limit's own signal, leaves the
// old file and nothing beside it: no copy of private messages stays behind.
TEST(FileStore, AWriteKilledMidwayLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sms-backup.xml");
    put(path, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit noCore{0, 0};
        const rlimit small{65536, 65536};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::signal(SIGXFSZ, SIG_DFL);
        writeWholeFile(path, std::string(1 << 20, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"sms-backup.xml"});
    EXPECT_EQ(readWholeFile(path).bytes, "old");
}
