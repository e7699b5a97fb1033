#include "archive/P2kToolsImport.h"

#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "codecs/Timestamp.h"
#include "core/FileStore.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace qb {
namespace {

// Imported messages have no storage index on the phone; this one marks them.
constexpr std::string_view ImportedIndex = "1000";
constexpr std::string_view ImportedHeaderStart = "+MMGL: 1000, \"REC READ\", \"";

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
    const std::size_t size = static_cast<std::size_t>(recordSize(FolderKind::Inbox));
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

std::optional<P2kToolsMessage> parseP2kToolsLine(std::string_view line) {
    line = fileLines::readerView(line);
    const auto first = line.find(';');
    if (first == std::string_view::npos)
        return std::nullopt;
    const auto second = line.find(';', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    P2kToolsMessage message;
    message.sender = line.substr(0, first);
    message.text = line.substr(second + 1);
    if (message.sender.empty() || message.text.empty())
        return std::nullopt;
    message.date = normaliseTimestamp(line.substr(first + 1, second - first - 1));
    return message;
}

void appendImportedRecord(std::string& out, const P2kToolsMessage& message) {
    out += message.text;
    out += "\r\n";
    out += ImportedIndex;
    out += "\r\n";
    out += ImportedHeaderStart;
    out += message.sender;
    out += "\"\r\n";
    out += message.date;
    out += "\r\n";
}

MaybeFailure importP2kToolsArchive(const QString& workDir, const QString& source,
                                   Progress& progress, Cancellation* cancel) {
    if (stopsHere(cancel))
        return std::nullopt;
    InboxStart inbox = takeInbox(workDir);
    if (inbox.failure)
        return inbox.failure;

    progress.setPosition(0);
    progress.setVisible(true);
    const FileRead read = readSource(source);
    if (read.failure) {
        progress.setVisible(false);
        return read.failure;
    }
    const std::size_t lines = fileLines::count(read.bytes);
    std::string& out = inbox.lines;
    // Room for every record at once: growing would copy the whole Inbox again.
    out.reserve(out.size() + read.bytes.size() + lines * (ImportedHeaderStart.size() + 32));
    progress.setMaximum(static_cast<int>(std::min<std::size_t>(lines, INT_MAX)));
    progress.setTextVisible(false);

    fileLines::Cursor cursor(read.bytes);
    std::string_view line;
    for (std::size_t index = 0; cursor.next(line); ++index) {
        if (stopsHere(cancel)) {
            progress.setVisible(false);
            return std::nullopt;
        }
        progress.setPosition(static_cast<int>(std::min<std::size_t>(index, INT_MAX)));
        if (const auto message = parseP2kToolsLine(line))
            appendImportedRecord(out, *message);
    }
    progress.setVisible(false);
    if (stopsHere(cancel))
        return std::nullopt;
    return writeWholeFile(inbox.path, inbox.lines);
}

} // namespace qb
