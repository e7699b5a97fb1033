// Any bytes as a P2kTools archive: every line through the line parser, and the
// records it yields read back as Inbox records.
#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/P2kToolsImport.h"
#include "archive/RecordLines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qb::fileLines::Cursor cursor(bytes);
    std::string_view line;
    std::string out;
    int records = 0;
    qb::ImportSummary summary;
    while (cursor.next(line)) {
        qb::P2kToolsSkip skip = qb::P2kToolsSkip::None;
        const auto message = qb::parseP2kToolsLine(line, &skip);
        summary.count(skip);
        // A line adds a message exactly when no reason to skip it is given.
        if (bool(message) != (skip == qb::P2kToolsSkip::None))
            std::abort();
        if (!message)
            continue;
        // The fields come from the line and never run past its first 4096 characters.
        if (message->number.empty() || message->text.empty() ||
            message->number.size() + message->text.size() + 2 > qb::LineList::MaxLineLength ||
            message->number.find(';') != std::string_view::npos)
            std::abort();
        qb::record::appendRecord(out, qb::view(*message));
        ++records;
    }
    // Each record is four whole lines that read back as a read message from its sender.
    const qb::ArchiveFolder folder = qb::ArchiveFolder::fromContent(qb::FolderKind::Inbox, out);
    if (folder.count() != records || summary.imported != records)
        std::abort();
    for (const qb::MessageView message : folder) {
        if (message.status != qb::MessageStatus::Read || message.index != 1000 ||
            message.number.empty())
            std::abort();
    }
    return 0;
}
