#include "archive/ArchiveFiles.h"

#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "core/FileStore.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace qb {
namespace {

constexpr std::string_view RecRead = "REC READ";
constexpr std::string_view RecUnread = "REC UNREAD";
constexpr std::string_view StoSent = "STO SENT";
constexpr std::string_view StoUnsent = "STO UNSENT";

// Where the number starts, counted from 1, is the index's length plus a fixed
// offset that depends on how long the quoted status is.
int correspondentOffset(std::string_view status) {
    if (status == RecRead)
        return 23;
    if (status == RecUnread)
        return 25;
    if (status == StoSent)
        return 22;
    if (status == StoUnsent)
        return 24;
    return 0;
}

// A received record without a status (only an edited file holds one) has no
// defined position; the text between the last two quotes is what a well-formed
// header would have given.
std::string_view textBetweenLastQuotes(std::string_view header) {
    const auto close = header.rfind('"');
    if (close == std::string_view::npos || close == 0)
        return {};
    const auto open = header.rfind('"', close - 1);
    if (open == std::string_view::npos)
        return {};
    return header.substr(open + 1, close - open - 1);
}

std::string_view statusOf(FolderKind kind, std::string_view header) {
    if (kind == FolderKind::Outbox)
        return StoSent;
    if (kind == FolderKind::Draft)
        return StoUnsent;
    // Taken the way the phone read sorts listing lines into folders: without any
    // quote the text is looked at from its start.
    const auto quote = header.find('"');
    const auto after = quote == std::string_view::npos ? header : header.substr(quote + 1);
    if (after.starts_with(RecRead))
        return RecRead;
    if (after.starts_with(RecUnread))
        return RecUnread;
    return {};
}

std::string_view correspondentOf(std::string_view header, std::string_view index,
                                 std::string_view status) {
    const int offset = correspondentOffset(status);
    if (offset == 0)
        return textBetweenLastQuotes(header);
    const std::size_t p = index.size() + static_cast<std::size_t>(offset); // from 1
    if (p >= header.size())
        return {};
    return header.substr(p - 1, header.size() - p);
}

// Fills `folder` from a file's content. Records and their texts already there
// are overwritten in place, so reloading an archive that barely changed reuses
// the memory it already holds instead of allocating every text again.
void loadFolder(FolderKind kind, std::string_view content, std::size_t lines,
                ArchiveFolder& folder) {
    const std::size_t size = static_cast<std::size_t>(recordSize(kind));
    const bool tooShort = kind != FolderKind::Inbox && lines <= 1;
    folder.records.resize(tooShort ? 0 : (lines + size - 1) / size);

    fileLines::Cursor cursor(content);
    const auto nextLine = [&cursor] {
        std::string_view line;
        return cursor.next(line) ? fileLines::readerView(line) : std::string_view();
    };
    for (ArchiveRecord& record : folder.records) {
        record.text = nextLine();
        record.index = nextLine();
        record.header = nextLine();
        if (kind == FolderKind::Inbox)
            record.date = nextLine();
        else
            record.date.clear();
        const std::string_view status = statusOf(kind, record.header);
        record.status = status;
        record.correspondent = correspondentOf(record.header, record.index, status);
    }
}

} // namespace

QString folderFileName(FolderKind kind) {
    switch (kind) {
    case FolderKind::Inbox:
        return QStringLiteral("Inbox.msg");
    case FolderKind::Outbox:
        return QStringLiteral("Outbox.msg");
    case FolderKind::Draft:
        break;
    }
    return QStringLiteral("Draft.msg");
}

ArchiveFolder& Archive::folder(FolderKind kind) {
    return byFolderKind(kind, inbox, outbox, draft);
}

const ArchiveFolder& Archive::folder(FolderKind kind) const {
    return const_cast<Archive*>(this)->folder(kind);
}

std::string deriveStatus(FolderKind kind, std::string_view header) {
    return std::string(statusOf(kind, header));
}

std::string deriveCorrespondent(std::string_view header, std::string_view index,
                                std::string_view status) {
    return std::string(correspondentOf(header, index, status));
}

ArchiveFolder parseFolder(FolderKind kind, std::string_view content) {
    ArchiveFolder folder;
    loadFolder(kind, content, fileLines::count(content), folder);
    return folder;
}

MaybeFailure reloadFolder(const QString& workDir, FolderKind kind, ArchiveFolder& folder) {
    const QString path = resolveInDir(workDir, folderFileName(kind));
    const FolderFile file(path);
    if (file.failure())
        return file.failure();
    try {
        // A missing file has no lines.
        loadFolder(kind, file.bytes(), file.lineCount(), folder);
    } catch (const std::bad_alloc&) {
        // Within the limits, yet more than this process may hold: the folder
        // stays empty rather than half loaded, and the window usable.
        std::vector<ArchiveRecord>().swap(folder.records);
        return Failure::cannotOpen(path, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
    return std::nullopt;
}

MaybeFailure reloadArchive(const QString& workDir, Archive& archive) {
    for (const FolderKind kind : ArchiveFolderKinds) {
        if (MaybeFailure failure = reloadFolder(workDir, kind, archive.folder(kind)))
            return failure;
    }
    return std::nullopt;
}

} // namespace qb
