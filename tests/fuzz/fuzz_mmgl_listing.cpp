// Any bytes as the reply to at+mmgl="ALL", through the three folder passes.
#include "reading/MessageReplies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qb::LineList listing;
    listing.add(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool holds = qb::listingHoldsMessages(listing);
    const bool fits = !qb::checkListing(listing);
    qb::ReadResult read;
    qb::CarriedFieldBounds bounds;
    int headers = 0;
    for (const auto kind : {qb::FolderKind::Inbox, qb::FolderKind::Outbox, qb::FolderKind::Draft}) {
        qb::ReadFolder& folder = read.folder(kind);
        qb::parseListingFolder(listing, kind, bounds, folder);
        const auto count = folder.count();
        // Every long line writes the count, so it is a number whenever there was one.
        if (!folder.countMark.empty() &&
            (!count || *count < 0 || static_cast<std::size_t>(*count) > folder.entries.size()))
            std::abort();
        headers += count.value_or(0);
        for (int k = 1; k <= count.value_or(0); ++k) {
            // A decoded text must never break the archive's one-line-per-field layout.
            if (folder.find(k)->text.find_first_of("\r\n", 0) != std::string::npos)
                std::abort();
            // A listing that passed the check gives indexes of digits alone.
            const std::string& index = folder.find(k)->index;
            if (fits &&
                (index.empty() || index.find_first_not_of(" 0123456789") != std::string::npos))
                std::abort();
        }
    }
    if (holds != (headers > 0))
        std::abort();
    return 0;
}
