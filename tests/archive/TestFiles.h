#pragma once
// Small helpers shared by the archive tests: files in a temporary working
// directory and Windows-1251 texts written as readable UTF-8 literals.
#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFolder.h"
#include "archive/ArchiveTypes.h"
#include "archive/RecordFields.h"
#include "archive/RecordLines.h"
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

// A message as the archive reads it from a record's lines.
inline Message fromLines(FolderKind kind, const std::string& text, const std::string& index,
                         const std::string& header, const std::string& date = {}) {
    return toMessage(record::read(kind, text, index, header, date));
}

// A received message as the phone lists it and the archive stores it.
inline Message inboxEntry(const std::string& text, int index, const std::string& status,
                          const std::string& number, const std::string& date) {
    const std::string idx = std::to_string(index);
    return fromLines(FolderKind::Inbox, text, idx,
                     "+MMGL: " + idx + ", \"" + status + "\", \"" + number + "\"", date);
}

// A sent ("STO SENT") or unsent message as the phone lists it.
inline Message sentEntry(const std::string& text, int index, const std::string& status,
                         const std::string& number) {
    const std::string idx = " " + std::to_string(index);
    const FolderKind kind = status == "STO SENT" ? FolderKind::Outbox : FolderKind::Draft;
    return fromLines(kind, text, idx, "+MMGL:" + idx + ", \"" + status + "\", \"" + number + "\"");
}

// A folder of `count` records, as a folder file would hold them.
inline ArchiveFolder folderWith(FolderKind kind, int count) {
    std::string content;
    for (int line = 0; line < count * record::lineCount(kind); ++line)
        content += "x\r\n";
    return ArchiveFolder::fromContent(kind, content);
}

// Records k of the folder file at `path` chosen as the list shows them: with
// the message the file holds now, or none past its end.
inline std::vector<ChosenRecord> chosenAsShown(const QString& path, FolderKind kind,
                                               const std::vector<int>& records) {
    ArchiveFolder shown(kind);
    shown.reload(path);
    std::vector<ChosenRecord> chosen;
    for (const int k : records) {
        const bool held = k >= 1 && k <= shown.count();
        chosen.push_back({k, held ? std::optional(toMessage(shown.message(k - 1))) : std::nullopt});
    }
    return chosen;
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
