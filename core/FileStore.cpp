#include "core/FileStore.h"

#include "core/HugePages.h"

#include <type_traits>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb {
namespace {

mode_t currentUmask() {
    // umask can only be read by setting it; nothing else runs on another thread here.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

QString joinPath(const QString& dir, const QString& name) {
    return dir + QLatin1Char('/') + name;
}

QString resolveInDir(const QString& dir, const QString& name) {
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

bool nameTaken(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString tooLarge(std::size_t maxBytes) {
    return QStringLiteral("File too large (the limit is %1 MB)").arg(maxBytes >> 20);
}

// Why a file at that name is not read, or an empty text when it may be.
QString refusal(const struct stat& info, std::size_t maxBytes) {
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("Is a directory");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("Not a regular file");
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return tooLarge(maxBytes);
    return {};
}

// A link whose target is gone (a drive not mounted, a file moved) is not a
// missing file: taken for one, an archive folder would read as empty and the
// next write would replace the link. Empty when `name` is no such link.
QString danglingLinkReason(const QByteArray& name) {
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return {};
    QByteArray target(PATH_MAX, '\0');
    const ssize_t size = ::readlink(name.constData(), target.data(), target.size());
    target.resize(size > 0 ? size : 0);
    return QStringLiteral("Broken link to \"%1\"").arg(QFile::decodeName(target));
}

// Reads to the end of the file, which may have grown or shrunk since it was
// looked at: straight into `bytes`, since an imported archive may be 100 MB
// and a copy made afterwards would hold it twice. Gives 0 or an errno.
template <class Bytes>
int readAll(int fd, std::size_t sizeHint, std::size_t maxBytes, Bytes& bytes,
            const ArrivedBytes& arrived) {
    const std::size_t wanted = std::min(sizeHint, maxBytes) + 1;
    // What the buffer held is overwritten: growing it would copy that first.
    if (bytes.capacity() < wanted) {
        if constexpr (std::is_same_v<Bytes, std::string>) {
            std::string().swap(bytes);
            bytes.reserve(wanted);
            adviseHugePages(bytes);
        } else {
            bytes.reserveEmpty(wanted);
        }
    }
    bytes.resize(wanted);
    // Pieces small enough to stay in the processor's cache for `arrived`.
    const std::size_t piece = arrived ? std::size_t(256) << 10 : maxBytes + 1;
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes)
                return EFBIG;
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const std::size_t room = std::min(bytes.size() - done, piece);
        const ssize_t n = ::read(fd, bytes.data() + done, room);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
        if (arrived)
            arrived(std::string_view(bytes.data(), done));
    }
    bytes.resize(done);
    return 0;
}

void releaseBytes(std::string& bytes) {
    std::string().swap(bytes);
}

void releaseBytes(ByteBuffer& bytes) {
    bytes.release();
}

// Why an open regular file could not be read, or an empty text. `bytes` is
// left alone unless reading starts, and emptied when reading then fails.
template <class Bytes>
QString readOpenFile(int fd, std::size_t maxBytes, Bytes& bytes, const ArrivedBytes& arrived) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return systemReason(errno);
    // A second look: something else may have taken the name in between.
    if (QString reason = refusal(info, maxBytes); !reason.isEmpty())
        return reason;
    int error = 0;
    try {
        error = readAll(fd, static_cast<std::size_t>(info.st_size), maxBytes, bytes, arrived);
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    if (error != 0)
        releaseBytes(bytes);
    if (error == EFBIG)
        return tooLarge(maxBytes);
    return error != 0 ? systemReason(error) : QString();
}

template <class Bytes>
FileReadStatus readInto(const QString& path, Bytes& bytes, std::size_t maxBytes,
                        const ArrivedBytes& arrived) {
    FileReadStatus result;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // Looked at before it is opened, so that a device is never opened and a
    // FIFO never waited on; the open itself does not wait either.
    if (::stat(name.constData(), &info) != 0) {
        const int error = errno;
        const QString dangling = danglingLinkReason(name);
        if (!dangling.isEmpty() || (error != ENOENT && error != ENOTDIR)) {
            result.exists = true;
            result.failure =
                Failure::cannotOpen(path, dangling.isEmpty() ? systemReason(error) : dangling);
        }
        return result;
    }
    result.exists = true;
    QString reason = refusal(info, maxBytes);
    if (reason.isEmpty()) {
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        reason = fd < 0 ? systemReason(errno) : readOpenFile(fd, maxBytes, bytes, arrived);
        if (fd >= 0)
            ::close(fd);
    }
    if (!reason.isEmpty())
        result.failure = Failure::cannotOpen(path, reason);
    return result;
}

} // namespace

FileRead readWholeFile(const QString& path, std::size_t maxBytes) {
    FileRead result;
    FileReadStatus status = readInto(path, result.bytes, maxBytes, {});
    result.exists = status.exists;
    result.failure = std::move(status.failure);
    return result;
}

FileReadStatus readWholeFileInto(const QString& path, ByteBuffer& bytes, std::size_t maxBytes,
                                 const ArrivedBytes& arrived) {
    return readInto(path, bytes, maxBytes, arrived);
}

namespace {

// Every byte or an error: a short write (a full disk, a size limit) must not
// pass for success, which is why this does not go through a buffered QFile.
bool writeAll(int fd, std::string_view bytes) {
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

QByteArray directoryOf(const QByteArray& target) {
    const int slash = target.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
}

// The new name is only durable once the directory entry is on disk. A directory
// that cannot be opened or does not support syncing leaves nothing to do; an
// error of the sync itself means the new entry may be lost.
bool syncDirectoryOf(const QByteArray& target) {
    const int fd = ::open(directoryOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

// Only a regular file at that very name lends its mode, and never its set-id or
// sticky bits: a link planted there must not pass its target's mode on to
// what the program writes.
mode_t newFileMode(const QByteArray& target, NewFileAccess access) {
    struct stat old {};
    if (::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 0777;
    return (access == NewFileAccess::OwnerOnly ? 0600 : 0666) & ~currentUmask();
}

QByteArray ownPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// Without /proc, or where the file system refuses links to unnamed files, a
// named file has to do.
bool linksUnsupported(int error) {
    return error == ENOENT || error == EPERM || error == EOPNOTSUPP;
}

// Copies the staged bytes from the start of `from` into `to`.
bool copyFile(int from, int to) {
    std::string chunk(1 << 20, '\0');
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(from, chunk.data(), chunk.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!writeAll(to, std::string_view(chunk.data(), std::size_t(n))))
            return false;
        at += n;
    }
}

} // namespace

StagedFile::StagedFile(const QString& path, NewFileAccess access)
    : m_path(path), m_target(QFile::encodeName(path)), m_mode(newFileMode(m_target, access)) {
    m_fd = ::open(directoryOf(m_target).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0 && !openNamed())
        return;
    if (::fchmod(m_fd, m_mode) != 0)
        m_error = errno;
}

StagedFile::~StagedFile() {
    discard();
}

void StagedFile::discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_name.isEmpty())
        ::unlink(m_name.constData());
    m_name.clear();
    m_registered.reset();
    if (m_error == 0)
        m_error = EBADF; // nothing more can be written or committed
}

// A file system without unnamed files: a named stand-in beside the target,
// which a signal removes and every failure too.
bool StagedFile::openNamed() {
    QByteArray name = m_target + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    m_registered = std::make_unique<StagedName>(name);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_name = name;
    return true;
}

bool StagedFile::write(std::string_view bytes) {
    if (m_error == 0 && !writeAll(m_fd, bytes))
        m_error = errno;
    return m_error == 0;
}

Failure StagedFile::failure() const {
    return Failure::cannotCreate(m_path, systemReason(m_error));
}

MaybeFailure StagedFile::sync() {
    if (m_error == 0 && ::fsync(m_fd) != 0)
        m_error = errno;
    return m_error == 0 ? MaybeFailure() : failure();
}

// A name beside the target for the unnamed file: a link to it, or where links
// cannot be had, a named copy.
bool StagedFile::giveName() {
    if (!m_name.isEmpty())
        return true;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name =
            m_target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        // Registered before it exists: a signal in between finds nothing to remove.
        auto registered = std::make_unique<StagedName>(name);
        if (::linkat(AT_FDCWD, ownPath(m_fd).constData(), AT_FDCWD, name.constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            m_registered = std::move(registered);
            m_name = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    if (!linksUnsupported(errno)) {
        m_error = errno;
        return false;
    }
    const int unnamed = m_fd;
    m_fd = -1;
    const bool copied =
        openNamed() && copyFile(unnamed, m_fd) && ::fchmod(m_fd, m_mode) == 0 && ::fsync(m_fd) == 0;
    if (!copied && m_error == 0)
        m_error = errno;
    ::close(unnamed);
    return copied;
}

QByteArray StagedFile::exchangeName() {
    if (sync() || !giveName())
        return {};
    return m_name;
}

// An unnamed file takes the target's name at once where none is there;
// linkat never replaces a name, so an existing target is replaced by a
// rename from a name of the file's own, held only as long as that takes.
bool StagedFile::putInPlace() {
    if (m_name.isEmpty()) {
        if (::linkat(AT_FDCWD, ownPath(m_fd).constData(), AT_FDCWD, m_target.constData(),
                     AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST && !linksUnsupported(errno)) {
            m_error = errno;
            return false;
        }
        if (!giveName())
            return false;
    }
    if (::rename(m_name.constData(), m_target.constData()) != 0) {
        m_error = errno;
        return false;
    }
    m_name.clear();
    return true;
}

MaybeFailure StagedFile::commit() {
    if (MaybeFailure failure = sync())
        return failure;
    if (!putInPlace())
        return failure();
    m_registered.reset();
    if (!syncDirectoryOf(m_target)) {
        m_error = errno;
        return failure();
    }
    return std::nullopt;
}

MaybeFailure writeWholeFile(const QString& path, std::string_view bytes, NewFileAccess access) {
    StagedFile file(path, access);
    file.write(bytes);
    return file.commit();
}

} // namespace qb
