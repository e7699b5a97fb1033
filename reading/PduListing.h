#pragma once
// The messages of one storage as the standard dialogue reads them in PDU mode:
// the AT+CMGL=4 listing and the AT+CMGR=<index> answer, taken apart as real
// phones send them.
#include "codecs/LongMessages.h"
#include "reading/ReplyLines.h"
#include "reading/StorageReplies.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One message of a listing: `+CMGL: <index>,<stat>,[<alpha>],<length>`, then
// the PDU in hex on the next line.
struct ListedPdu {
    int index = 0;
    StoredStatus status = StoredStatus::ReceivedRead;
    std::optional<int> tpduLength; // as stated; some phones state none
    std::string hex;               // digits only: blanks, quotes and a trailing ",0" taken off
    std::string header;            // the +CMGL: line as sent
};

struct PduListing {
    std::vector<ListedPdu> messages;
    // Lines that could be no part of a message: a +CMGL: line whose index or
    // status is no number the standard allows, with or without the line after
    // it, or a line that follows no +CMGL: line. The read counts and names them.
    std::vector<std::string> unreadable;
};

// The AT+CMGL=4 reply. Taken as real phones send it: with or without the alpha
// field (`+CMGL: 17,3,35`), with blanks after the commas, with the alpha field
// quoted and empty, with fields after the length, with the PDU quoted, padded
// with blanks or followed by ",0", and with indexes from 0.
PduListing parsePduListing(std::string_view reply);

// Whether a listing's indexes can be storage locations, as deleting needs:
// none repeated, none past the storage's size where that is known. A phone
// that numbers its listing otherwise is read location by location instead.
bool indexesCanBeLocations(const std::vector<ListedPdu>& messages,
                           std::optional<StorageUse> use = std::nullopt);

// A message as AT+CMGR=<index> answers in PDU mode: `+CMGR: <stat>,[<alpha>],<length>`
// (or only `+CMGR: <stat>`), then the PDU, on the next line or after a blank on the same.
struct ReadPdu {
    StoredStatus status = StoredStatus::ReceivedRead;
    std::optional<int> tpduLength;
    std::string hex;
};

// The AT+CMGR reply; none when the location is empty (an answer without
// +CMGR: line, or with a length of 0 and no PDU).
Parsed<std::optional<ReadPdu>> parsePduRead(std::string_view reply);

// Whether AT+CMGR=<index> found the message the listing gave that index: the
// same PDU, letter case, padding and a trailing ",0" aside. A phone whose
// listing indexes are not its storage locations answers with another message.
bool sameMessage(const ListedPdu& listed, const ReadPdu& read);

} // namespace qb
