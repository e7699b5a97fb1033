#include "core/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = info.isDir() ? QStringLiteral("Is a directory") : file.errorString();
        result.failure = Failure::cannotOpen(path, reason);
        return result;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.failure = Failure::cannotOpen(path, file.errorString());
        return result;
    }
    result.bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
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

} // namespace

MaybeFailure writeWholeFile(const QString& path, const std::string& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Failure::cannotCreate(path, systemReason(errno));
    // The replacement keeps the old file's permissions; a new file gets the usual ones.
    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777)
                                                              : (0666 & ~currentUmask());
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        const int error = !written ? writeError : errno;
        ::unlink(temporary.constData());
        return Failure::cannotCreate(path, systemReason(error));
    }
    return std::nullopt;
}

bool removeFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return QFile::remove(path);
}

} // namespace qb
