#include "core/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

mode_t currentUmask()
{
    // umask can only be read by setting it; nothing else runs on another thread here.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

QString joinPath(const QString& dir, const QString& name)
{
    return dir + QLatin1Char('/') + name;
}

QString resolveInDir(const QString& dir, const QString& name)
{
    const QString exact = joinPath(dir, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir directory(dir.isEmpty() ? QStringLiteral("/") : dir);
    const QStringList entries =
        directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return joinPath(dir, entry);
    }
    return exact;
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FileRead readWholeFile(const QString& path)
{
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    result.exists = true;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const QString reason = info.isDir() ? QStringLiteral("Is a directory") : file.errorString();
        result.failure = Failure::cannotOpen(path, reason);
        return result;
    }
    // Straight into the result: an imported archive may be 100 MB, and a
    // QByteArray copied afterwards would hold it twice. The size is only a
    // first guess; a file that grows or shrinks meanwhile is read to its end.
    std::string& bytes = result.bytes;
    bytes.resize(static_cast<std::size_t>(std::max<qint64>(file.size(), 0)) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(bytes.size() * 2);
        const qint64 n = file.read(bytes.data() + done, static_cast<qint64>(bytes.size() - done));
        if (n < 0) {
            bytes.clear();
            result.failure = Failure::cannotOpen(path, file.errorString());
            return result;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return result;
}

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Every byte or an error: a short write (a full disk, a size limit) must not
// pass for success, which is why this does not go through a buffered QFile.
bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The rename is only durable once the directory entry is on disk. A directory
// that cannot be opened or does not support syncing leaves nothing to do; an
// error of the sync itself means the new entry may be lost.
bool syncDirectoryOf(const QByteArray& target)
{
    const int slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

mode_t newFileMode(const QByteArray& target, NewFileAccess access)
{
    struct stat old {};
    if (::stat(target.constData(), &old) == 0)
        return old.st_mode & 07777;
    return (access == NewFileAccess::OwnerOnly ? 0600 : 0666) & ~currentUmask();
}

} // namespace

MaybeFailure writeWholeFile(const QString& path, const std::string& bytes, NewFileAccess access)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Failure::cannotCreate(path, systemReason(errno));
    const bool written = ::fchmod(fd, newFileMode(target, access)) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        const int error = !written ? writeError : errno;
        ::unlink(temporary.constData());
        return Failure::cannotCreate(path, systemReason(error));
    }
    if (!syncDirectoryOf(target))
        return Failure::cannotCreate(path, systemReason(errno));
    return std::nullopt;
}

bool removeFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return QFile::remove(path);
}

} // namespace qb
