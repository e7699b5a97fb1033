#pragma once
// PDU-mode form of a stored message (3GPP TS 23.040), for clients that read
// messages with AT+CMGF=0: Quillbox's standard dialogue, and gammu.
#include "tools/phonesim/PhoneContent.h"

#include <string>
#include <vector>

namespace qb {

struct EncodedPdu {
    std::string hex;    // service centre address followed by the TPDU
    int tpduLength = 0; // octets after the service centre address
};

// An SMS-DELIVER for received messages, an SMS-SUBMIT for stored ones, an
// SMS-STATUS-REPORT for a report. Texts that fit the GSM 7-bit alphabet use
// it; others go as UCS2, cut at 70 code units because one PDU holds no more.
// A part of a long message carries its user-data header: an 8-bit reference
// in GSM 7-bit, a 16-bit one in UCS2. A number holding letters is an
// alphanumeric sender, 7-bit packed.
EncodedPdu encodePdu(const SimMessage& message, std::string_view serviceCentre);

// A long text cut into `parts` texts of nearly equal length, each fitting one
// part (153 septets, or 67 UCS2 code units: a surrogate pair may be cut, as
// some phones cut it); `ucs2` tells which. Empty when it does not fit.
std::vector<std::u16string> splitIntoParts(const std::u16string& text, std::size_t parts,
                                           bool& ucs2);

} // namespace qb
