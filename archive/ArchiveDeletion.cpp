#include "archive/ArchiveDeletion.h"

#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "core/FileStore.h"

#include <algorithm>

namespace qb {
namespace {

// How many records a loader sees in a file of `lines` lines: a sent or unsent
// folder of a single line is empty, a partial last record counts.
std::size_t recordsIn(FolderKind kind, std::size_t lines) {
    const std::size_t size = static_cast<std::size_t>(recordSize(kind));
    if (kind != FolderKind::Inbox && lines <= 1)
        return 0;
    return (lines + size - 1) / size;
}

} // namespace

MaybeFailure deleteArchiveRecords(const QString& workDir, FolderKind kind, std::vector<int> records,
                                  Progress& progress, Cancellation* cancel) {
    if (stopsHere(cancel))
        return std::nullopt;
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());

    const QString path = resolveInDir(workDir, folderFileName(kind));
    FolderFile file(path);
    if (file.failure())
        return file.failure();

    const std::string_view content = file.bytes();
    const std::size_t size = static_cast<std::size_t>(recordSize(kind));
    const std::size_t count = recordsIn(kind, fileLines::count(content));
    std::string out;
    out.reserve(content.size() + 2 * count * size);
    fileLines::Cursor cursor(content);
    auto next = records.begin();
    int removed = 0;
    for (std::size_t k = 1; k <= count; ++k) {
        if (stopsHere(cancel))
            return std::nullopt;
        while (next != records.end() && *next < static_cast<int>(k))
            ++next;
        const bool remove = next != records.end() && *next == static_cast<int>(k);
        // Surviving lines are copied whole; a partial last record is padded so
        // every record keeps its size.
        for (std::size_t i = 0; i < size; ++i) {
            std::string_view line;
            cursor.next(line);
            if (!remove) {
                out += line;
                out += "\r\n";
            }
        }
        if (remove)
            progress.setPosition(++removed);
    }
    file.release(); // replaced below
    if (stopsHere(cancel))
        return std::nullopt;
    return writeWholeFile(path, out);
}

void deleteAllFolderFiles(const QString& workDir) {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        // "inbox.msg" beside "Inbox.msg" would be found by the next reload in
        // place of the removed one, so every spelling goes.
        for (int spelling = 0; spelling < 64; ++spelling) {
            const QString path = resolveInDir(workDir, folderFileName(kind));
            if (!fileExists(path) || !removeFile(path))
                break;
        }
    }
}

} // namespace qb
