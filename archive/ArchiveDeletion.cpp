#include "archive/ArchiveDeletion.h"

#include "archive/ArchiveFiles.h"
#include "archive/ArchiveLock.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "archive/RecordLines.h"
#include "core/FileStore.h"

#include "core/Trash.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace qb {
namespace {

// How many records a loader sees in a file of `lines` lines: a sent or unsent
// folder of a single line is empty, a partial last record counts.
std::size_t recordsIn(FolderKind kind, std::size_t lines) {
    const std::size_t size = static_cast<std::size_t>(record::lineCount(kind));
    if (kind != FolderKind::Inbox && lines <= 1)
        return 0;
    return (lines + size - 1) / size;
}

// The record as the list showed it, each line followed by CR LF; empty for
// a record the list never showed, which no record of a file matches.
std::string shownRecord(const ChosenRecord& chosen) {
    std::string lines;
    if (chosen.shown)
        record::appendRecord(lines, view(*chosen.shown));
    return lines;
}

} // namespace

Failure changedRecordsFailure() {
    return {Failure::Kind::RecordsChanged,
            QCoreApplication::translate(
                "ArchiveDeletion",
                "Сообщения в архиве изменились, ничего не удалено. Выберите сообщения заново."),
            {}};
}

MaybeFailure deleteArchiveRecords(const QString& workDir, FolderKind kind,
                                  std::vector<ChosenRecord> records, Progress& progress,
                                  Cancellation* cancel) {
    if (stopsHere(cancel))
        return std::nullopt;
    const ArchiveLock lock(workDir, cancel);
    if (!lock.mayWrite())
        return lock.failure();
    const auto byNumber = [](const ChosenRecord& a, const ChosenRecord& b) {
        return a.record < b.record;
    };
    std::stable_sort(records.begin(), records.end(), byNumber);
    std::vector<std::string> shown;
    shown.reserve(records.size());
    for (const ChosenRecord& chosen : records)
        shown.push_back(shownRecord(chosen));

    const QString path = resolveInDir(workDir, folderFileName(kind));
    FolderFile file(path);
    if (file.failure())
        return file.failure();

    const std::string_view content = file.bytes();
    const std::size_t size = static_cast<std::size_t>(record::lineCount(kind));
    const std::size_t count = recordsIn(kind, file.lineCount());
    std::string out;
    out.reserve(content.size() + 2 * count * size);
    fileLines::Cursor cursor(content);
    std::size_t next = 0; // the first chosen record not passed yet
    int removed = 0;
    std::vector<std::string_view> lines;
    std::string asRead; // the record's lines as a reader sees them, each with CR LF
    for (std::size_t k = 1; k <= count; ++k) {
        if (stopsHere(cancel))
            return std::nullopt;
        while (next < records.size() && records[next].record < static_cast<int>(k))
            ++next;
        const bool remove = next < records.size() && records[next].record == static_cast<int>(k);
        // A partial last record reads as empty lines and is padded so every
        // record keeps its size.
        lines.assign(size, std::string_view());
        asRead.clear();
        for (std::string_view& line : lines) {
            cursor.next(line);
            if (remove) {
                asRead += fileLines::readerView(line);
                asRead += "\r\n";
            }
        }
        for (; remove && next < records.size() && records[next].record == static_cast<int>(k);
             ++next) {
            if (shown[next] != asRead)
                return changedRecordsFailure();
        }
        if (remove) {
            progress.setPosition(++removed);
            continue;
        }
        for (const std::string_view line : lines) {
            out += line;
            out += "\r\n";
        }
    }
    file.release(); // replaced below
    if (stopsHere(cancel))
        return std::nullopt;
    return writeWholeFile(path, out);
}

namespace {

WipedFile wipe(const QString& path) {
    WipedFile file{QFileInfo(path).fileName()};
    // A folder at a folder file's name holds no messages and may hold anything.
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
        file.fate = WipedFile::Fate::Left;
        file.error = EISDIR;
        return file;
    }
    const TrashOutcome trashed = moveToTrash(path);
    switch (trashed.kind) {
    case TrashOutcome::Kind::Trashed:
        break;
    case TrashOutcome::Kind::NoTrash:
        file.fate = WipedFile::Fate::Removed;
        if (::unlink(QFile::encodeName(path).constData()) != 0) {
            file.fate = WipedFile::Fate::Left;
            file.error = errno;
        }
        break;
    case TrashOutcome::Kind::Refused:
        file.fate = WipedFile::Fate::Left;
        file.error = trashed.error;
        break;
    }
    return file;
}

} // namespace

WipeReport deleteAllFolderFiles(const QString& workDir, Cancellation* cancel) {
    WipeReport report;
    const ArchiveLock lock(workDir, cancel);
    if (!lock.mayWrite()) {
        report.failure = lock.failure();
        return report;
    }
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        // "inbox.msg" beside "Inbox.msg" would be found by the next reload in
        // place of the removed one, so every spelling goes.
        for (int spelling = 0; spelling < 64; ++spelling) {
            const QString path = resolveInDir(workDir, folderFileName(kind));
            if (!nameTaken(path))
                break;
            report.files.push_back(wipe(path));
            if (report.files.back().fate == WipedFile::Fate::Left)
                break;
        }
    }
    return report;
}

} // namespace qb
