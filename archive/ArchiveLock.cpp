#include "archive/ArchiveLock.h"

#include "core/FileStore.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace qb {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds PollInterval{20};

// Nothing this process could write into such a folder, so there is nothing
// to keep from another writer either.
bool folderRefusesUs(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

int openLockFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || !folderRefusesUs(errno))
        return fd;
    // A lock file another user made may still be locked through reading it.
    const int error = errno;
    const int readOnly = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (readOnly < 0)
        errno = error;
    return readOnly;
}

} // namespace

ArchiveLock::ArchiveLock(const QString& workDir, Cancellation* cancel,
                         std::chrono::milliseconds patience) {
    const QString path = joinPath(workDir, FileName);
    m_fd = openLockFile(QFile::encodeName(path));
    if (m_fd < 0) {
        if (!folderRefusesUs(errno))
            m_failure = Failure::cannotCreate(path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const Clock::time_point deadline = Clock::now() + patience;
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return; // a file system without locks: nothing to wait for
        if (stopsHere(cancel)) {
            m_cancelled = true;
            return;
        }
        if (Clock::now() >= deadline) {
            m_failure = busyFailure(workDir);
            return;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

ArchiveLock::~ArchiveLock() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

Failure ArchiveLock::busyFailure(const QString& workDir) {
    return Failure::message(
        QCoreApplication::translate("ArchiveLock",
                                    "Архив в папке \"%1\" меняет другая копия Quillbox. Ничего не "
                                    "изменено; повторите команду, когда она закончит.")
            .arg(workDir));
}

} // namespace qb
