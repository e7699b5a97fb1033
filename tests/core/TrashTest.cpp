// The desktop's trash as the freedesktop.org Trash standard has it: found or
// made where the standard says, with an info file a file manager can
// restore from, and never anything beside the file itself.
#include "core/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qb;

namespace {

void put(const QString& path, const QByteArray& data = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray slurp(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// A home of the test's own, without ~/.local/share: a fresh account.
struct FreshHome {
    QTemporaryDir home;
    QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    FreshHome() {
        qputenv("HOME", QFile::encodeName(home.path()));
        qunsetenv("XDG_DATA_HOME");
    }
    ~FreshHome() {
        qputenv("HOME", oldHome);
        if (oldData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldData);
    }
    QString trash(const QString& below = {}) const {
        return home.filePath(".local/share/Trash") + (below.isEmpty() ? "" : "/" + below);
    }
};

// The immutable attribute, where the file system and the process's rights allow it.
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

// A fresh account has no ~/.local/share: the home trash is made there, each
// folder the owner's alone, and nothing appears beside the file.
TEST(Trash, MakesTheHomeTrashWhereThereIsNone) {
    FreshHome fresh;
    QTemporaryDir work;
    ASSERT_TRUE(QDir(work.path()).mkdir("sms archive"));
    const QString file = work.filePath("sms archive/Inbox.msg");
    put(file, "messages");

    const TrashOutcome outcome = moveToTrash(file);
    ASSERT_EQ(outcome.kind, TrashOutcome::Kind::Trashed);
    EXPECT_EQ(QDir(work.filePath("sms archive"))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
    EXPECT_EQ(slurp(fresh.trash("files/Inbox.msg")), "messages");
    for (const char* made : {".local", ".local/share", ".local/share/Trash",
                             ".local/share/Trash/files", ".local/share/Trash/info"})
        EXPECT_EQ(modeOf(fresh.home.filePath(made)), 0700u) << made;
    const QByteArray info = slurp(fresh.trash("info/Inbox.msg.trashinfo"));
    const QByteArray real = QFile::encodeName(QFileInfo(work.path()).canonicalFilePath());
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + real.toPercentEncoding("/") +
                                "/sms%20archive/Inbox.msg\nDeletionDate="))
        << info.toStdString();
    EXPECT_TRUE(QRegularExpression(R"(DeletionDate=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\n$)")
                    .match(QString::fromLatin1(info))
                    .hasMatch());

    // A second file of that name keeps the first: it gets a name of its own.
    put(file, "again");
    ASSERT_EQ(moveToTrash(file).kind, TrashOutcome::Kind::Trashed);
    EXPECT_EQ(slurp(fresh.trash("files/Inbox.2.msg")), "again");
    EXPECT_TRUE(QFile::exists(fresh.trash("info/Inbox.2.msg.trashinfo")));
    EXPECT_EQ(slurp(fresh.trash("files/Inbox.msg")), "messages");
}

// A file on another drive goes to that drive's own trash, which records its
// path from the drive's top.
TEST(Trash, AFileOnAnotherDriveGoesToThatDrivesTrash) {
    FreshHome fresh;
    struct stat home {
    }, shm{};
    ::stat(QFile::encodeName(fresh.home.path()).constData(), &home);
    if (::stat("/dev/shm", &shm) != 0 || shm.st_dev == home.st_dev ||
        ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second writable drive (/dev/shm)";
    const QString ownTrash = QStringLiteral("/dev/shm/.Trash-%1").arg(::getuid());
    const bool hadOwnTrash = QFileInfo::exists(ownTrash);
    QTemporaryDir work(QStringLiteral("/dev/shm/quillbox-trash-test-XXXXXX"));
    const QString file = work.filePath("Draft.msg");
    put(file);

    ASSERT_EQ(moveToTrash(file).kind, TrashOutcome::Kind::Trashed);
    const QString name = QFileInfo(work.path()).fileName();
    EXPECT_TRUE(QFile::exists(ownTrash + "/files/Draft.msg"));
    EXPECT_TRUE(slurp(ownTrash + "/info/Draft.msg.trashinfo")
                    .startsWith("[Trash Info]\nPath=" + QFile::encodeName(name) + "/Draft.msg\n"));
    EXPECT_FALSE(QFileInfo::exists(fresh.trash()));
    if (hadOwnTrash) {
        QFile::remove(ownTrash + "/files/Draft.msg");
        QFile::remove(ownTrash + "/info/Draft.msg.trashinfo");
    } else {
        QDir(ownTrash).removeRecursively();
    }
}

// A file the system will not let go stays, and so does no info file for it.
TEST(Trash, AFileThatCannotBeMovedStaysAndLeavesNoTrace) {
    FreshHome fresh;
    QTemporaryDir work;
    const QString file = work.filePath("Outbox.msg");
    put(file);
    if (!setImmutable(file, true))
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    const TrashOutcome outcome = moveToTrash(file);
    setImmutable(file, false);
    EXPECT_EQ(outcome.kind, TrashOutcome::Kind::Refused);
    EXPECT_EQ(outcome.error, EPERM);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(QDir(fresh.trash("info")).entryList(QDir::Files), QStringList());
}
