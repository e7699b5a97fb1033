#include "core/NativeDir.h"

#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace qb {

NativeDir::~NativeDir() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool NativeDir::openCurrent() {
    // getcwd fails for a deleted directory, where Qt would answer "" and the
    // archive would be looked for at the root.
    char* const cwd = ::getcwd(nullptr, 0);
    if (!cwd)
        return false;
    const QByteArray bytes(cwd);
    std::free(cwd);
    return open(bytes, O_RDONLY); // reading the directory is what the archive needs
}

bool NativeDir::openNamed(const QByteArray& name, const NativeDir& current) {
    if (name.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    return open(name.startsWith('/') ? name : current.m_bytes + '/' + name, O_PATH);
}

bool NativeDir::open(const QByteArray& absolute, int flags) {
    const int fd = ::open(absolute.constData(), flags | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    m_bytes = absolute;
    const QString decoded = QFile::decodeName(absolute);
    if (QFile::encodeName(decoded) == absolute) {
        m_path = decoded;
        ::close(fd);
    } else {
        m_fd = fd;
        m_path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    }
    return true;
}

Failure NativeDir::shown(Failure failure) const {
    if (m_fd >= 0 && failure.subject.startsWith(m_path + QLatin1Char('/')))
        failure.subject.replace(0, m_path.size(), QFile::decodeName(m_bytes));
    return failure;
}

QString withRealFolderNames(const QString& text) {
    static const QRegularExpression descriptorPath(QStringLiteral("/proc/self/fd/\\d+"));
    QString shown = text;
    QRegularExpressionMatch found;
    for (qsizetype from = 0; (found = descriptorPath.match(shown, from)).hasMatch();) {
        QByteArray real(4096, '\0');
        const ssize_t size = ::readlink(QFile::encodeName(found.captured()).constData(),
                                        real.data(), std::size_t(real.size()));
        if (size <= 0 || !real.startsWith('/')) {
            from = found.capturedEnd();
            continue;
        }
        real.resize(size);
        const QString name = QFile::decodeName(real);
        shown.replace(found.capturedStart(), found.capturedLength(), name);
        from = found.capturedStart() + name.size();
    }
    return shown;
}

} // namespace qb
