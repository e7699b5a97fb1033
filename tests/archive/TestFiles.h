#pragma once
// Small helpers shared by the archive tests: files in a temporary working
// directory and Windows-1251 texts written as readable UTF-8 literals.
#include "archive/ArchiveTypes.h"
#include "core/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <csignal>
#include <string>
#include <sys/resource.h>

namespace qb::test {

inline std::string cp(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

inline void put(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write test file");
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::string slurp(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray data = file.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

inline QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

inline ReadEntry inboxEntry(const std::string& text, int index, const std::string& status,
                            const std::string& number, const std::string& date) {
    const std::string idx = std::to_string(index);
    return {"+MMGL: " + idx + ", \"" + status + "\", \"" + number + "\"", text, idx, status, date};
}

inline ReadEntry sentEntry(const std::string& text, int index, const std::string& status,
                           const std::string& number) {
    const std::string idx = " " + std::to_string(index);
    return {"+MMGL:" + idx + ", \"" + status + "\", \"" + number + "\"", text, idx, status, {}};
}

inline void setRead(ReadFolder& folder, const std::vector<ReadEntry>& entries) {
    folder.entries = entries;
    folder.countMark = std::to_string(static_cast<int>(entries.size()) - 1);
}

// A full disk, played by a file-size limit (which binds root too) for as long as it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }

  private:
    rlimit m_saved{};
    sighandler_t m_handler;
};

} // namespace qb::test
