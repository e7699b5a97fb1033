#include "reading/PduListing.h"

#include <algorithm>
#include <set>

namespace qb {
namespace {

constexpr std::string_view ListingPrefix = "+CMGL:";
constexpr std::string_view ReadPrefix = "+CMGR:";

std::optional<StoredStatus> statusOf(std::string_view field) {
    const auto stat = wholeNumber(field);
    if (!stat || *stat > 3)
        return std::nullopt;
    return static_cast<StoredStatus>(*stat);
}

// The digits of a PDU line: quotes and blanks around it and a trailing ",0"
// (or any ",<digits>" some phones append) taken off, upper case.
std::string pduDigits(std::string_view line) {
    line = unquote(line);
    if (const auto comma = line.rfind(',');
        comma != std::string_view::npos && wholeNumber(line.substr(comma + 1)))
        line = unquote(line.substr(0, comma));
    return upperAscii(line);
}

// The length stated after the status: the last of the header's fields up to
// the fourth that is a number, the alpha field being optional.
std::optional<int> statedLength(const std::vector<std::string_view>& fields) {
    if (fields.size() >= 4)
        return wholeNumber(fields[3]);
    if (fields.size() == 3)
        return wholeNumber(fields[2]);
    return std::nullopt;
}

bool isHexLine(std::string_view line) {
    const std::string digits = pduDigits(line);
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    });
}

// Hex without the padding a phone may add after the PDU (F or 0 digits).
std::string_view withoutPadding(std::string_view hex) {
    while (hex.size() >= 2 && (hex.ends_with("FF") || hex.ends_with("00")))
        hex.remove_suffix(2);
    return hex;
}

} // namespace

PduListing parsePduListing(std::string_view reply) {
    PduListing listing;
    const std::vector<std::string_view> lines = answerLines(reply);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto rest = afterPrefix(lines[i], ListingPrefix);
        if (!rest) {
            listing.unreadable.emplace_back(lines[i]);
            continue;
        }
        const std::vector<std::string_view> fields = splitFields(*rest);
        const auto index = wholeNumber(fields[0]);
        const auto status = fields.size() >= 2 ? statusOf(fields[1]) : std::nullopt;
        const bool pduFollows = i + 1 < lines.size() && isHexLine(lines[i + 1]) &&
                                !lines[i + 1].starts_with(ListingPrefix);
        if (!index || !status || !pduFollows) {
            listing.unreadable.emplace_back(lines[i]);
            if (pduFollows)
                ++i;
            continue;
        }
        listing.messages.push_back({*index, *status, statedLength(fields), pduDigits(lines[i + 1]),
                                    std::string(lines[i])});
        ++i;
    }
    return listing;
}

bool indexesCanBeLocations(const std::vector<ListedPdu>& messages, std::optional<StorageUse> use) {
    std::set<int> seen;
    for (const ListedPdu& m : messages) {
        if (!seen.insert(m.index).second)
            return false;
        if (use && use->total > 0 && m.index > use->total)
            return false;
    }
    return true;
}

Parsed<std::optional<ReadPdu>> parsePduRead(std::string_view reply) {
    const std::vector<std::string_view> lines = answerLines(reply);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto rest = afterPrefix(lines[i], ReadPrefix);
        if (!rest)
            continue;
        std::string_view header = *rest;
        std::string_view pdu = i + 1 < lines.size() ? lines[i + 1] : std::string_view();
        // Some phones put the PDU on the header's line, after a blank.
        if (const auto blank = header.rfind(' '); blank != std::string_view::npos &&
                                                  isHexLine(header.substr(blank + 1)) &&
                                                  header.substr(blank + 1).size() > 9) {
            pdu = header.substr(blank + 1);
            header = trimBlanks(header.substr(0, blank));
        }
        const std::vector<std::string_view> fields = splitFields(header);
        const auto status = statusOf(fields[0]);
        if (!status)
            return ReplyError{"no message status", std::string(lines[i])};
        const auto length = fields.size() >= 3 ? wholeNumber(fields[2]) : std::nullopt;
        if (pdu.empty() || !isHexLine(pdu) || (length && *length == 0))
            return std::optional<ReadPdu>(); // an empty location
        return std::optional<ReadPdu>(ReadPdu{*status, length, pduDigits(pdu)});
    }
    if (!lines.empty())
        return ReplyError{"no +CMGR: line", std::string(lines.front())};
    return std::optional<ReadPdu>();
}

bool sameMessage(const ListedPdu& listed, const ReadPdu& read) {
    return withoutPadding(listed.hex) == withoutPadding(read.hex);
}

} // namespace qb
