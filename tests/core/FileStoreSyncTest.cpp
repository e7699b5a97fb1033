// Whether a save is durable depends on syncs the file system gives no trace
// of, so this binary puts its own fsync in front of the C library's: it notes
// what each sync saw and can fail the sync of a directory.
#include "core/FileStore.h"
#include "core/SignalCleanup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace qb;

namespace {

struct SyncProbe {
    QByteArray watchedFile;                 // read back at every directory sync
    std::vector<std::string> seenAtDirSync; // its content then
    int failDirectorySyncWith = 0;
    bool noUnnamedFiles = false; // plays a file system without O_TMPFILE
};
SyncProbe probe;

std::string contentOf(const QByteArray& path) {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

} // namespace

extern "C" int fsync(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && !probe.watchedFile.isEmpty()) {
        probe.seenAtDirSync.push_back(contentOf(probe.watchedFile));
        if (probe.failDirectorySyncWith != 0) {
            errno = probe.failDirectorySyncWith;
            return -1;
        }
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | __O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    if ((flags & __O_TMPFILE) && probe.noUnnamedFiles) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

// The directory is synced once the new file has taken the old one's name:
// synced before the rename, a power cut could still bring back the old file.
TEST(FileStoreSync, TheDirectoryIsSyncedAfterTheRename) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Inbox.msg");
    probe = {QFile::encodeName(path), {}, 0};
    ASSERT_FALSE(writeWholeFile(path, "old\r\n"));
    ASSERT_FALSE(writeWholeFile(path, "new\r\n"));
    EXPECT_EQ(probe.seenAtDirSync, (std::vector<std::string>{"old\r\n", "new\r\n"}));
    probe = {};
}

// A failed directory sync means the save may not survive: it is not reported
// as done.
TEST(FileStoreSync, AFailedDirectorySyncIsAFailedWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Phonebook.pbk");
    probe = {QFile::encodeName(path), {}, EIO};
    const MaybeFailure failure = writeWholeFile(path, "1\r\n\r\n");
    probe = {};
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->text(), "Cannot create file \"" + path + "\". Input/output error");
}

// Where there are no unnamed files a named one stands in, and goes again when
// the write fails (here at a file-size limit).
TEST(FileStoreSync, TheNamedStandInIsRemovedWhenTheWriteFails) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Inbox.msg");
    probe = {{}, {}, 0, true};
    ASSERT_FALSE(writeWholeFile(path, "old\r\n"));
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{64, saved.rlim_max};
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const MaybeFailure failure = writeWholeFile(path, std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, handler);
    probe = {};
    EXPECT_TRUE(failure);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Inbox.msg"});
    EXPECT_EQ(contentOf(QFile::encodeName(path)), "old\r\n");
}

// A writer stopped by SIGINT, SIGTERM or SIGHUP while a file is half written
// (here waiting on a pipe for more to write): the old file stays and nothing
// is left beside it, also where a named file stood in for an unnamed one.
// Where files are unnamed, even SIGKILL leaves nothing.
TEST(FileStoreSync, ASignalMidWriteLeavesNothingBehind) {
    struct Case {
        int signal;
        bool unnamed;
    };
    for (const Case& c : {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGHUP, false},
                          Case{SIGTERM, true}, Case{SIGKILL, true}}) {
        SCOPED_TRACE(std::to_string(c.signal) + (c.unnamed ? " unnamed" : " named"));
        QTemporaryDir dir;
        const QString path = dir.filePath("Inbox.msg");
        ASSERT_FALSE(writeWholeFile(path, "old\r\n"));
        int ready[2], more[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(more), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            removeStagedFilesOnSignals();
            probe.noUnnamedFiles = !c.unnamed;
            StagedFile file(path);
            file.write(std::string(1 << 20, 'x'));
            char byte = 'r';
            if (::write(ready[1], &byte, 1) == 1) [[maybe_unused]]
                const ssize_t waited = ::read(more[0], &byte, 1);
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        const QStringList during = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(during.size(), c.unnamed ? 1 : 2) << during.join(' ').toStdString();
        ::kill(child, c.signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Inbox.msg"});
        EXPECT_EQ(contentOf(QFile::encodeName(path)), "old\r\n");
        for (const int fd : {ready[0], ready[1], more[0], more[1]})
            ::close(fd);
    }
}
