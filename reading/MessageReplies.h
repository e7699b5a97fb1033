#pragma once
// Parsers for the phone's message replies: the +MMGL listing and the +CMGR read.
// They take the replies apart by line numbers and character positions, the way
// the archive files were always filled, so a record read today matches one
// archived years ago byte for byte.
#include "archive/ArchiveTypes.h"
#include "codecs/FieldBounds.h"
#include "core/LineList.h"
#include "reading/PhoneFailure.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb {

// Listing lines this short (the echo of at+mmgl="ALL" has 13) are never headers.
constexpr std::size_t ShortestListingLine = 13;

// The status an +MMGL header line carries for a folder ("REC READ" or
// "REC UNREAD" for Inbox, "STO SENT", "STO UNSENT"); none when the line is
// short or of another folder.
std::optional<MessageStatus> listingHeaderStatus(std::string_view line, FolderKind kind);

// Whether an +MMGL listing holds any header line of the three folders.
bool listingHoldsMessages(const LineList& listing);

// One pass over an +MMGL listing: the messages of one folder, each header
// with the text line after it, in listing order. `folder` is replaced only
// when the listing has a line long enough to be a header.
void parseListingFolder(const LineList& listing, FolderKind kind, CarriedFieldBounds& bounds,
                        ReadFolder& folder);

// How a reply does not fit its command, and the index or line at fault.
struct ReplyProblem {
    ReplyMismatch mismatch = ReplyMismatch::None;
    std::string subject;
};

// Whether an +MMGL listing (its echo on line 0) is one the read may believe:
// every message's index a storage index of its own, every header one line,
// every text UCS2 hex digits, and no line that is no part of a listing.
std::optional<ReplyProblem> checkListing(const LineList& listing);

// Whether an +CMGR reply answers for the message whose listing line is
// `listingHeader`: a header of another correspondent's message does not.
std::optional<ReplyProblem> checkCmgrReply(const LineList& reply, std::string_view listingHeader);

// The time stamp of an +CMGR reply (echo on line 0, header on line 1): the
// twenty characters in front of the header's closing quote, as the phone
// wrote them ("05/01/02,12:34:56+12"); none when the header holds none.
std::optional<std::string> parseCmgrStamp(const LineList& reply);

} // namespace qb
