#include "core/Trash.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

using Kind = TrashOutcome::Kind;

QByteArray parentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray homeFolder() {
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArray();
}

// The user's data folder by the XDG base directory rules: $XDG_DATA_HOME when
// it is an absolute path, else ~/.local/share. Read afresh for every file.
QByteArray dataHome() {
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    if (data.startsWith('/'))
        return data;
    const QByteArray home = homeFolder();
    return home.isEmpty() ? QByteArray() : home + "/.local/share";
}

// The drive holding `path`, or the folder it would be made in.
bool deviceOf(QByteArray path, dev_t& device) {
    for (;;) {
        struct stat info {};
        if (::stat(path.constData(), &info) == 0) {
            device = info.st_dev;
            return true;
        }
        if (errno != ENOENT || path == "/")
            return false;
        path = parentOf(path);
    }
}

// Makes the missing folders of `path`, each 0700 as the XDG base directory and
// Trash standards ask; true when `path` is a folder in the end.
bool makeFolders(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (errno != ENOENT || path == "/" || !makeFolders(parentOf(path)))
        return false;
    if (::mkdir(path.constData(), 0700) == 0)
        return true;
    return errno == EEXIST && ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool holdsFilesAndInfo(const QByteArray& trash) {
    return makeFolders(trash + "/files") && makeFolders(trash + "/info");
}

// A trash folder of the user's own on a drive: made when missing, and only
// taken when it is a real folder (no link) that belongs to the user.
bool ownTrashFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && holdsFilesAndInfo(path);
}

// The top folder of the drive that holds `folder` (a real path).
QByteArray driveTop(QByteArray folder, dev_t device) {
    while (folder != "/") {
        const QByteArray up = parentOf(folder);
        struct stat info {};
        if (::stat(up.constData(), &info) != 0 || info.st_dev != device)
            break;
        folder = up;
    }
    return folder;
}

// $top/.Trash/$uid where the administrator made a shared, sticky $top/.Trash;
// else $top/.Trash-$uid. Empty when neither can be had.
QByteArray driveTrash(const QByteArray& top) {
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(::getuid());
    struct stat shared {};
    if (::lstat((base + "/.Trash").constData(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) && ownTrashFolder(base + "/.Trash/" + uid))
        return base + "/.Trash/" + uid;
    if (ownTrashFolder(base + "/.Trash-" + uid))
        return base + "/.Trash-" + uid;
    return {};
}

// "Inbox.msg", then "Inbox.2.msg", "Inbox.3.msg", ...
QByteArray trashName(const QByteArray& name, int attempt) {
    if (attempt == 1)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray number = '.' + QByteArray::number(attempt);
    return dot > 0 ? name.left(dot) + number + name.mid(dot) : name + number;
}

QByteArray deletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool writeInfo(int fd, const QByteArray& path) {
    const QByteArray info = "[Trash Info]\nPath=" + path.toPercentEncoding("/") +
                            "\nDeletionDate=" + deletionDate() + "\n";
    if (::write(fd, info.constData(), std::size_t(info.size())) != info.size()) {
        const int error = errno == 0 ? ENOSPC : errno;
        ::close(fd);
        errno = error;
        return false;
    }
    return ::close(fd) == 0;
}

// A rename that never replaces what is at `to`.
bool renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat taken {};
    if (::lstat(to.constData(), &taken) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

// The .trashinfo first, under a name no other file there has, then the file.
TrashOutcome moveInto(const QByteArray& trash, const QByteArray& file,
                      const QByteArray& shownPath) {
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QByteArray name = trashName(nameOf(file), attempt);
        const QByteArray info = trash + "/info/" + name + ".trashinfo";
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0 || !writeInfo(fd, shownPath)) {
            const int error = errno;
            if (fd >= 0)
                ::unlink(info.constData());
            return {Kind::NoTrash, error};
        }
        if (renameWithoutReplacing(file, trash + "/files/" + name))
            return {Kind::Trashed, 0};
        const int error = errno;
        ::unlink(info.constData());
        if (error == EEXIST)
            continue;
        // Even EXDEV (a bind mount between the file and the trash) leaves the
        // file where it is: a trash was there, so it is not removed instead.
        return {Kind::Refused, error};
    }
    return {Kind::NoTrash, EEXIST};
}

} // namespace

TrashOutcome moveToTrash(const QString& path) {
    const QByteArray given = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(given.constData(), &info) != 0)
        return {Kind::Refused, errno};
    // The folder's real name: the trash records where the file was, and the
    // folder may have been reached through a link or /proc/self/fd.
    char* real = ::realpath(parentOf(given).constData(), nullptr);
    if (!real)
        return {Kind::Refused, errno};
    const QByteArray folder(real);
    std::free(real);
    const QByteArray file = (folder == "/" ? QByteArray() : folder) + '/' + nameOf(given);

    const QByteArray homeTrash = dataHome().isEmpty() ? QByteArray() : dataHome() + "/Trash";
    dev_t homeDevice = 0;
    if (!homeTrash.isEmpty() && deviceOf(homeTrash, homeDevice) && homeDevice == info.st_dev) {
        if (!holdsFilesAndInfo(homeTrash))
            return {Kind::NoTrash, errno};
        return moveInto(homeTrash, file, file);
    }
    const QByteArray top = driveTop(folder, info.st_dev);
    const QByteArray trash = driveTrash(top);
    if (trash.isEmpty())
        return {Kind::NoTrash, errno};
    // A drive's own trash records paths from the drive's top, which stay
    // right wherever the drive is mounted next.
    return moveInto(trash, file, file.mid(top == "/" ? 1 : top.size() + 1));
}

} // namespace qb
