#pragma once
// Parsers for the phone's phonebook replies to AT+CPBR.
#include "archive/ArchiveTypes.h"
#include "core/LineList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The last position of the +CPBR=? range, e.g. "250" from "+CPBR: (1-250),50,14",
// cut from the whole reply between its last "-" and its last ")"; none when
// the reply holds no such range.
std::optional<std::string> parsePhonebookRangeEnd(std::string_view reply);

// The entries of an +CPBR reply: the number between the first two quotation
// marks, the name's UCS2 digits from the sixth character after the second one.
// Names that real phones send quoted, or as 8-bit hex ending in a zero byte,
// are taken from the field after the number type instead.
// Motorola phones put a blank line after every entry, so only lines 1, 3, 5, ...
// are entries; the echo and the closing line never are.
std::vector<PhonebookEntry> parsePhonebookEntries(const LineList& reply);

} // namespace qb
