#pragma once
// PDU-mode form of a stored message (3GPP TS 23.040), for clients such as
// gammu that read messages with AT+CMGF=0.
#include "tools/phonesim/PhoneContent.h"

#include <string>

namespace qb {

struct EncodedPdu {
    std::string hex;    // service centre address followed by the TPDU
    int tpduLength = 0; // octets after the service centre address
};

// An SMS-DELIVER for received messages, an SMS-SUBMIT for stored ones. Texts
// that fit the GSM 7-bit alphabet use it; others go as UCS2, cut at 70 code
// units because one PDU holds no more.
EncodedPdu encodePdu(const SimMessage& message, std::string_view serviceCentre);

} // namespace qb
