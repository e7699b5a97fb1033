// Any bytes as a PDU, as hex digits and as octets, with and without a stated
// length; as a PDU-mode listing and +CMGR reply; and as archive text with
// escapes.
#include "codecs/SmsPdu.h"
#include "core/ArchiveText.h"
#include "reading/PduListing.h"

#include <cstdint>
#include <cstdlib>

namespace {

std::string hexOf(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += digits[static_cast<unsigned char>(c) >> 4];
        hex += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return hex;
}

void check(const qb::PduDecoding& decoding, std::size_t octets) {
    if (!decoding) {
        if (decoding.error.octet > octets)
            std::abort();
        return;
    }
    const qb::DecodedPdu& pdu = *decoding.pdu;
    if (pdu.part && (pdu.part->sequence < 1 || pdu.part->sequence > pdu.part->count))
        std::abort();
    if (pdu.coding == qb::TextCoding::EightBit && pdu.text != qb::markedHexDump(pdu.data))
        std::abort();
    // Whatever a phone sends is kept whole in the archive's text.
    if (qb::archivetext::decode(qb::archivetext::encode(pdu.text)) != pdu.text ||
        qb::archivetext::decode(qb::archivetext::encode(pdu.address.number)) != pdu.address.number)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(qb::decodePdu(text), size / 2);
    const std::string hex = hexOf(text);
    check(qb::decodePdu(hex), size);
    const int length = size > 0 ? data[0] : 0;
    check(qb::decodePdu(hex, length), size);
    check(qb::decodePdu(hex, static_cast<int>(size)), size);

    for (const qb::ListedPdu& listed : qb::parsePduListing(text).messages) {
        if (listed.hex.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            std::abort();
        check(qb::decodePdu(listed.hex, listed.tpduLength), listed.hex.size() / 2);
    }
    if (const auto read = qb::parsePduRead(text); read && *read)
        check(qb::decodePdu((*read)->hex, (*read)->tpduLength), (*read)->hex.size() / 2);

    // Archive bytes: what they decode to encodes back to bytes meaning the same.
    const QString decoded = qb::archivetext::decode(text);
    const std::string encoded = qb::archivetext::encode(decoded);
    if (qb::archivetext::decode(encoded) != decoded ||
        encoded.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        std::abort();
    return 0;
}
