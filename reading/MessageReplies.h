#pragma once
// Parsers for the phone's message replies: the +MMGL listing and the +CMGR read.
// They take the replies apart by line numbers and character positions, the way
// the archive files were always filled, so a record read today matches one
// archived years ago byte for byte.
#include "archive/ArchiveTypes.h"
#include "codecs/FieldBounds.h"
#include "core/LineList.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb {

// Listing lines this short (the echo of at+mmgl="ALL" has 13) are never headers.
constexpr std::size_t ShortestListingLine = 13;

// The status an +MMGL header line carries for a folder ("REC READ", "REC UNREAD",
// "STO SENT", "STO UNSENT"); none when the line is short or of another folder.
std::optional<std::string> listingHeaderStatus(std::string_view line, FolderKind kind);

// Whether an +MMGL listing holds any header line of the three folders.
bool listingHoldsMessages(const LineList& listing);

// One pass over an +MMGL listing: the headers of one folder, each with the text
// line after it, into positions 1, 2, ... of `folder`. countMark is rewritten
// only when the listing has a line long enough to be a header.
void parseListingFolder(const LineList& listing, FolderKind kind, CarriedFieldBounds& bounds,
                        ReadFolder& folder);

// The receive time of an +CMGR reply (echo on line 0, header on line 1), as
// DD/MM/YYYY,hh:mm:ss.
std::string parseCmgrDate(const LineList& reply);

} // namespace qb
