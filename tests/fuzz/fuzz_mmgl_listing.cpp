// Any bytes as the reply to at+mmgl="ALL", through the three folder passes.
#include "reading/MessageReplies.h"

#include "archive/ArchiveFolder.h"
#include "archive/RecordLines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qb::LineList listing;
    listing.add(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool holds = qb::listingHoldsMessages(listing);
    const bool fits = !qb::checkListing(listing);
    qb::ReadResult read;
    qb::CarriedFieldBounds bounds;
    std::size_t headers = 0;
    for (const auto kind : {qb::FolderKind::Inbox, qb::FolderKind::Outbox, qb::FolderKind::Draft}) {
        qb::ReadFolder& folder = read.folder(kind);
        qb::parseListingFolder(listing, kind, bounds, folder);
        headers += folder.size();
        for (const qb::Message& message : folder) {
            // A decoded text must never break the archive's one-line-per-field layout.
            if (message.text.find_first_of("\r\n", 0) != std::string::npos)
                std::abort();
            // A listing that passed the check gives indexes of digits alone.
            const std::string index = qb::record::indexLine(qb::view(message));
            if (fits && (!message.index || index.empty() ||
                         index.find_first_not_of(" 0123456789") != std::string::npos))
                std::abort();
            if (!fits)
                continue;
            // What the archive writes for it reads back as the same message.
            std::string lines;
            qb::record::appendRecord(lines, qb::view(message));
            std::string again;
            for (const qb::MessageView stored : qb::ArchiveFolder::fromContent(kind, lines))
                qb::record::appendRecord(again, stored);
            if (again != lines)
                std::abort();
        }
    }
    if (holds != (headers > 0))
        std::abort();
    return 0;
}
