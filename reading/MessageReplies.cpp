#include "reading/MessageReplies.h"

#include "codecs/Timestamp.h"
#include "codecs/Ucs2Decoder.h"
#include "core/TextPositions.h"

#include <array>

namespace qb {
namespace {

bool statusMatches(std::string_view line, long long q, std::string_view status) {
    return charactersFrom(line, q, static_cast<long long>(status.size())) == status;
}

} // namespace

std::optional<std::string> listingHeaderStatus(std::string_view line, FolderKind kind) {
    if (line.size() <= ShortestListingLine)
        return std::nullopt;
    // Without a quotation mark q is 0, which reads from the line's start.
    const long long q = firstPosition('"', line) + 1;
    std::array<std::string_view, 2> statuses;
    switch (kind) {
    case FolderKind::Inbox:
        statuses = {"REC READ", "REC UNREAD"};
        break;
    case FolderKind::Outbox:
        statuses = {"STO SENT", "STO SENT"};
        break;
    case FolderKind::Draft:
        statuses = {"STO UNSENT", "STO UNSENT"};
        break;
    }
    for (const std::string_view status : statuses) {
        if (statusMatches(line, q, status))
            return std::string(status);
    }
    return std::nullopt;
}

bool listingHoldsMessages(const LineList& listing) {
    for (int i = 0; i < listing.count(); ++i) {
        const std::string_view line = listing.lineView(i);
        for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
            if (listingHeaderStatus(line, kind))
                return true;
        }
    }
    return false;
}

void parseListingFolder(const LineList& listing, FolderKind kind, CarriedFieldBounds& bounds,
                        ReadFolder& folder) {
    // Received indexes are stored without the blank after the colon, sent and
    // unsent ones with it; the archive files have always held them that way.
    const int skip = kind == FolderKind::Inbox ? 2 : 1;
    int p = 1;
    for (int i = 0; i <= listing.count(); ++i) {
        const std::string_view line = listing.lineView(i);
        if (line.size() <= ShortestListingLine)
            continue;
        if (auto status = listingHeaderStatus(line, kind)) {
            updateFieldBounds(bounds, ':', ',', line);
            ReadEntry& entry = folder.at(p);
            entry.status = std::move(*status);
            entry.index =
                charactersFrom(line, static_cast<long long>(bounds.fieldStart) + skip,
                               static_cast<long long>(bounds.fieldEnd) - bounds.fieldStart - skip);
            entry.textHex = std::string(listing.lineView(i + 1));
            entry.text = decodeUcs2Hex(entry.textHex);
            entry.header = std::string(line);
            ++p;
        }
        folder.countMark = std::to_string(p - 2);
    }
}

std::string parseCmgrDate(const LineList& reply) {
    // The time stamp is the last field, closed by a quotation mark.
    const std::string_view header = reply.lineView(1);
    const auto length = static_cast<long long>(header.size());
    return normaliseTimestamp(charactersFrom(header, length - 20, 20));
}

} // namespace qb
