#include "reading/MessageReplies.h"

#include "archive/RecordLines.h"
#include "codecs/LegacyUcs2Decoder.h"
#include "codecs/Ucs2Decoder.h"
#include "core/TextPositions.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

namespace qb {
namespace {

constexpr std::string_view ListingEcho = "at+mmgl=\"ALL\"";

bool statusMatches(std::string_view line, long long q, std::string_view status) {
    return charactersFrom(line, q, static_cast<long long>(status.size())) == status;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos
               ? std::string_view()
               : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isUcs2Digits(std::string_view text) {
    return text.size() % 4 == 0 && std::all_of(text.begin(), text.end(), [](char c) {
               return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
           });
}

bool isFolderHeader(std::string_view line) {
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        if (listingHeaderStatus(line, kind))
            return true;
    }
    return false;
}

// The index field of a header: what stands between its first colon and the
// comma after it, which the read cuts the index from. None when either is missing.
std::optional<std::string_view> indexField(std::string_view header) {
    const auto colon = header.find(':');
    const auto comma = colon == std::string_view::npos ? colon : header.find(',', colon + 1);
    if (comma == std::string_view::npos)
        return std::nullopt;
    return header.substr(colon + 1, comma - colon - 1);
}

// A storage index as the listing writes it: a blank, then one to nine digits.
// The blank is what the index is cut after; the archive keeps it for sent and
// unsent messages.
std::optional<int> listedIndex(std::string_view header) {
    const std::optional<std::string_view> field = indexField(header);
    if (!field || field->size() < 2 || field->size() > 10 || field->front() != ' ' ||
        !std::all_of(field->begin() + 1, field->end(), isDigit))
        return std::nullopt;
    int index = 0;
    for (const char c : field->substr(1))
        index = index * 10 + (c - '0');
    return index;
}

// The text between the n-th pair of quotation marks (from 1).
std::optional<std::string_view> quotedField(std::string_view line, int n) {
    std::size_t from = 0;
    for (int pair = 1;; ++pair) {
        const auto open = line.find('"', from);
        const auto close = open == std::string_view::npos ? open : line.find('"', open + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        if (pair == n)
            return line.substr(open + 1, close - open - 1);
        from = close + 1;
    }
}

// Whether a text holds a time stamp from its first solidus on: digits, "/",
// digits, "/", digits, ",", digits, ":", digits, with digits in front too.
bool holdsTimestamp(std::string_view text) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos || slash == 0 || !isDigit(text[slash - 1]))
        return false;
    std::size_t at = slash + 1;
    const auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        return at > start;
    };
    const auto mark = [&](char c) {
        if (at >= text.size() || text[at] != c)
            return false;
        ++at;
        return true;
    };
    return digits() && mark('/') && digits() && mark(',') && digits() && mark(':') && digits();
}

} // namespace

std::optional<MessageStatus> listingHeaderStatus(std::string_view line, FolderKind kind) {
    if (line.size() <= ShortestListingLine)
        return std::nullopt;
    // Without a quotation mark q is 0, which reads from the line's start.
    const long long q = firstPosition('"', line) + 1;
    std::array<MessageStatus, 2> statuses;
    switch (kind) {
    case FolderKind::Inbox:
        statuses = {MessageStatus::Read, MessageStatus::Unread};
        break;
    case FolderKind::Outbox:
        statuses = {MessageStatus::Sent, MessageStatus::Sent};
        break;
    case FolderKind::Draft:
        statuses = {MessageStatus::Unsent, MessageStatus::Unsent};
        break;
    }
    for (const MessageStatus status : statuses) {
        if (statusMatches(line, q, record::statusWord(status)))
            return status;
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
    bool headerLong = false; // a line long enough to be a header
    ReadFolder listed;
    for (int i = 0; i <= listing.count(); ++i) {
        const std::string_view line = listing.lineView(i);
        if (line.size() <= ShortestListingLine)
            continue;
        headerLong = true;
        const std::optional<MessageStatus> status = listingHeaderStatus(line, kind);
        if (!status)
            continue;
        // The index is what stands between the colon and the comma after it.
        updateFieldBounds(bounds, ':', ',', line);
        const std::string indexField =
            charactersFrom(line, static_cast<long long>(bounds.fieldStart) + 1,
                           static_cast<long long>(bounds.fieldEnd) - bounds.fieldStart - 1);
        const std::string_view digits = listing.lineView(i + 1);
        Message& message = listed.emplace_back(record::listed(
            kind, *status, std::string(line), indexField, decodeUcs2HexKept(digits)));
        if (std::string former = decodeUcs2HexLegacy(digits); former != message.text)
            message.stored.formerText = std::move(former);
    }
    if (headerLong)
        folder = std::move(listed);
}

std::optional<ReplyProblem> checkListing(const LineList& listing) {
    std::unordered_set<int> indexes;
    bool textFollows = false;  // the line before was a header
    std::optional<int> textOf; // the index of the message whose text comes next
    const int last = listing.count() - 1;
    for (int i = 0; i <= last; ++i) {
        const std::string_view line = listing.lineView(i);
        if (i == 0 && line == ListingEcho)
            continue;
        const bool isText = std::exchange(textFollows, false);
        if (isText && textOf) {
            if (!isUcs2Digits(line))
                return ReplyProblem{ReplyMismatch::BadDigits, std::to_string(*textOf)};
            continue;
        }
        // Every line is looked at as a header, as the folder passes do.
        if (isFolderHeader(line)) {
            // A reply line keeps a lone CR or LF, which would split the header
            // in two in the archive and shift every record after it.
            if (line.find_first_of("\r\n") != std::string_view::npos)
                return ReplyProblem{ReplyMismatch::UnexpectedLine, std::string(line)};
            textOf = listedIndex(line);
            if (!textOf) {
                const auto field = indexField(line);
                return ReplyProblem{ReplyMismatch::BadIndex,
                                    std::string(trimmed(field ? *field : line))};
            }
            if (!indexes.insert(*textOf).second)
                return ReplyProblem{ReplyMismatch::RepeatedIndex, std::to_string(*textOf)};
            textFollows = true;
        } else if (line.starts_with("+MMGL:")) {
            // Another status: passed over with its text, as it has always been.
            textOf.reset();
            textFollows = true;
        } else if (!isText && !line.empty() && !(i == last && line == "OK")) {
            return ReplyProblem{ReplyMismatch::UnexpectedLine, std::string(line)};
        }
    }
    return std::nullopt;
}

std::optional<ReplyProblem> checkCmgrReply(const LineList& reply, std::string_view listingHeader) {
    const std::string_view header = reply.lineView(1);
    const bool ownHeader = header.starts_with("+CMGR:");
    if (!ownHeader && !header.starts_with("+MMGL:") && !header.starts_with("+CMGL:"))
        return std::nullopt;
    const auto number = quotedField(header, 2);
    const auto listed = quotedField(listingHeader, 2);
    if (!ownHeader || (number && listed && *number != *listed))
        return ReplyProblem{ReplyMismatch::OtherMessage, std::string(header)};
    return std::nullopt;
}

std::optional<std::string> parseCmgrStamp(const LineList& reply) {
    const std::string_view header = reply.lineView(1);
    if (!header.starts_with("+CMGR:"))
        return std::nullopt;
    // The time stamp is the last field, closed by a quotation mark.
    const auto length = static_cast<long long>(header.size());
    std::string stamp = charactersFrom(header, length - 20, 20);
    if (!holdsTimestamp(stamp))
        return std::nullopt;
    return stamp;
}

} // namespace qb
