#include "archive/P2kToolsImport.h"

#include "archive/ArchiveFiles.h"
#include "archive/ArchiveLock.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "archive/RecordLines.h"
#include "core/FileStore.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace qb {
namespace {

// Imported messages have no storage index on the phone; this one marks them.
constexpr int ImportedIndex = 1000;

// The existing Inbox lines, each ending in CR LF, to append the new records to.
// They are copied, so nothing stays mapped while the source is read.
struct InboxStart {
    QString path;
    std::string lines;
    MaybeFailure failure;
};

// A partial last record (only an edited file holds one) is filled up with
// empty lines, as a deletion does, so that the records appended after it start
// on a record's first line instead of being misread from there on.
void padToWholeRecords(std::string& lines, std::size_t lineCount) {
    const std::size_t size = static_cast<std::size_t>(record::lineCount(FolderKind::Inbox));
    for (std::size_t line = lineCount % size; line != 0 && line < size; ++line)
        lines += "\r\n";
}

InboxStart takeInbox(const QString& workDir) {
    InboxStart start;
    start.path = resolveInDir(workDir, folderFileName(FolderKind::Inbox));
    const FolderFile file(start.path);
    if (file.failure()) {
        start.failure = file.failure();
        return start;
    }
    start.lines.reserve(file.bytes().size() + 2 * fileLines::count(file.bytes()));
    fileLines::appendLines(file.bytes(), start.lines);
    padToWholeRecords(start.lines, file.lineCount());
    return start;
}

// The source is read into memory rather than mapped: a file cut short by
// another program while mapped would end the program instead of the import.
FileRead readSource(const QString& source) {
    FileRead read = readWholeFile(source);
    if (!read.exists && !read.failure)
        read.failure = Failure::cannotOpen(source, QString::fromLocal8Bit(std::strerror(ENOENT)));
    return read;
}

} // namespace

void ImportSummary::count(P2kToolsSkip skip) {
    switch (skip) {
    case P2kToolsSkip::None:
        ++imported;
        break;
    case P2kToolsSkip::NoSeparator:
        ++withoutSeparator;
        break;
    case P2kToolsSkip::EmptySender:
        ++withoutSender;
        break;
    case P2kToolsSkip::EmptyText:
        ++withoutText;
        break;
    case P2kToolsSkip::EmptyLine:
        break;
    }
}

std::optional<Message> parseP2kToolsLine(std::string_view line, P2kToolsSkip* why) {
    const auto skipped = [why](P2kToolsSkip reason) -> std::optional<Message> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    line = fileLines::readerView(line);
    if (line.empty())
        return skipped(P2kToolsSkip::EmptyLine);
    const auto first = line.find(';');
    const auto second = first == std::string_view::npos ? first : line.find(';', first + 1);
    if (second == std::string_view::npos)
        return skipped(P2kToolsSkip::NoSeparator);
    const std::string_view sender = line.substr(0, first);
    const std::string_view text = line.substr(second + 1);
    if (sender.empty())
        return skipped(P2kToolsSkip::EmptySender);
    if (text.empty())
        return skipped(P2kToolsSkip::EmptyText);
    Message message;
    message.folder = FolderKind::Inbox;
    message.index = ImportedIndex;
    message.status = MessageStatus::Read;
    message.number = sender;
    message.text = text;
    record::setStamp(message, line.substr(first + 1, second - first - 1));
    if (why)
        *why = P2kToolsSkip::None;
    return message;
}

MaybeFailure importP2kToolsArchive(const QString& workDir, const QString& source,
                                   Progress& progress, Cancellation* cancel,
                                   ImportSummary* summary) {
    if (stopsHere(cancel))
        return std::nullopt;
    progress.setPosition(0);
    progress.setVisible(true);
    const FileRead read = readSource(source);
    if (read.failure) {
        progress.setVisible(false);
        return read.failure;
    }
    // The Inbox is read once the archive is ours, so another writer's change
    // made meanwhile is kept.
    const ArchiveLock lock(workDir, cancel);
    if (!lock.mayWrite()) {
        progress.setVisible(false);
        return lock.failure();
    }
    InboxStart inbox = takeInbox(workDir);
    if (inbox.failure) {
        progress.setVisible(false);
        return inbox.failure;
    }
    const std::size_t lines = fileLines::count(read.bytes);
    std::string& out = inbox.lines;
    // Room for every record at once: growing would copy the whole Inbox again.
    out.reserve(out.size() + read.bytes.size() + lines * 64);
    progress.setMaximum(static_cast<int>(std::min<std::size_t>(lines, INT_MAX)));
    progress.setTextVisible(false);

    fileLines::Cursor cursor(read.bytes);
    std::string_view line;
    ImportSummary counted;
    for (std::size_t index = 0; cursor.next(line); ++index) {
        if (stopsHere(cancel)) {
            progress.setVisible(false);
            return std::nullopt;
        }
        progress.setPosition(static_cast<int>(std::min<std::size_t>(index, INT_MAX)));
        P2kToolsSkip skip = P2kToolsSkip::None;
        if (const auto message = parseP2kToolsLine(line, &skip))
            record::appendRecord(out, view(*message));
        counted.count(skip);
    }
    progress.setVisible(false);
    if (stopsHere(cancel))
        return std::nullopt;
    if (MaybeFailure failure = writeWholeFile(inbox.path, inbox.lines))
        return failure;
    if (summary)
        *summary = counted;
    return std::nullopt;
}

} // namespace qb
