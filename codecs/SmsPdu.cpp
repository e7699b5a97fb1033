#include "codecs/SmsPdu.h"

#include "codecs/HexDigits.h"
#include "codecs/PduFields.h"

#include <vector>

namespace qb {
namespace {

using pdu::Cursor;

// A service-centre address is a type octet and at most ten octets of digits.
constexpr std::uint8_t LongestServiceCentre = 11;

std::optional<std::vector<std::uint8_t>> octetsOf(std::string_view hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> octets(hex.size() / 2);
    for (std::size_t i = 0; i < octets.size(); ++i) {
        const int high = hexDigitValue(hex[2 * i]);
        const int low = hexDigitValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        octets[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return octets;
}

// Whether the octets more likely start with a service-centre address, going
// by the length the phone stated for the TPDU after it.
bool serviceCentreFirst(const std::vector<std::uint8_t>& octets, std::optional<int> tpduLength) {
    if (!tpduLength || *tpduLength <= 0 || octets.empty())
        return true; // as TS 27.005 has it for PDU mode
    const auto length = static_cast<std::size_t>(*tpduLength);
    if (octets.size() == length)
        return false;
    if (octets.size() < length)
        return true;
    return octets[0] <= LongestServiceCentre && 1u + octets[0] + length <= octets.size();
}

// The TPDU's own octets: padding after the length the phone stated is cut off.
std::span<const std::uint8_t> tpduOf(std::span<const std::uint8_t> rest,
                                     std::optional<int> tpduLength) {
    if (tpduLength && *tpduLength > 0 && static_cast<std::size_t>(*tpduLength) < rest.size())
        return rest.first(static_cast<std::size_t>(*tpduLength));
    return rest;
}

bool readTime(Cursor& cursor, std::optional<SmsTime>& time) {
    std::span<const std::uint8_t> octets;
    if (!cursor.take(PduField::TimeStamp, 7, octets))
        return false;
    time = pdu::timeStamp(octets);
    return true;
}

bool skipValidityPeriod(Cursor& cursor, std::uint8_t firstOctet) {
    const unsigned format = (firstOctet >> 3) & 0x03;
    const std::size_t octets = format == 0 ? 0 : format == 2 ? 1 : 7;
    std::span<const std::uint8_t> skipped;
    return cursor.take(PduField::ValidityPeriod, octets, skipped);
}

bool readDeliver(Cursor& cursor, std::uint8_t firstOctet, DecodedPdu& pdu) {
    std::uint8_t protocol = 0;
    std::uint8_t dcs = 0;
    return pdu::readAddress(cursor, pdu.address) &&
           cursor.byte(PduField::ProtocolIdentifier, protocol) &&
           cursor.byte(PduField::DataCoding, dcs) && readTime(cursor, pdu.time) &&
           pdu::readUserData(cursor, firstOctet & 0x40, pdu::codingOf(dcs), pdu);
}

bool readSubmit(Cursor& cursor, std::uint8_t firstOctet, DecodedPdu& pdu) {
    std::uint8_t reference = 0;
    std::uint8_t protocol = 0;
    std::uint8_t dcs = 0;
    if (!cursor.byte(PduField::MessageReference, reference) ||
        !pdu::readAddress(cursor, pdu.address) ||
        !cursor.byte(PduField::ProtocolIdentifier, protocol) ||
        !cursor.byte(PduField::DataCoding, dcs) || !skipValidityPeriod(cursor, firstOctet))
        return false;
    pdu.messageReference = reference;
    return pdu::readUserData(cursor, firstOctet & 0x40, pdu::codingOf(dcs), pdu);
}

// What the read leaves out is recognised: the recipient, the time the centre
// took the message and the status. The rest is optional and not needed.
bool readStatusReport(Cursor& cursor, DecodedPdu& pdu) {
    std::uint8_t reference = 0;
    std::uint8_t status = 0;
    std::optional<SmsTime> discharged;
    if (!cursor.byte(PduField::MessageReference, reference) ||
        !pdu::readAddress(cursor, pdu.address) || !readTime(cursor, pdu.time) ||
        !readTime(cursor, discharged) || !cursor.byte(PduField::Status, status))
        return false;
    pdu.messageReference = reference;
    pdu.reportStatus = status;
    return true;
}

} // namespace

QDateTime SmsTime::toDateTime() const {
    if (zoneMinutes)
        return QDateTime(date, time, Qt::OffsetFromUTC, *zoneMinutes * 60);
    return QDateTime(date, time);
}

namespace {

PduDecoding decodeOctets(const std::vector<std::uint8_t>& octets, bool withServiceCentre,
                         std::optional<int> tpduLength) {
    PduDecoding result;
    DecodedPdu pdu;
    Cursor front(octets);
    if (withServiceCentre && !pdu::readServiceCentre(front, pdu.serviceCentre)) {
        result.error = front.error();
        return result;
    }
    const std::size_t tpduStart = front.offset();
    Cursor cursor(tpduOf(front.rest(), tpduLength));
    std::uint8_t firstOctet = 0;
    bool read = cursor.byte(PduField::FirstOctet, firstOctet);
    if (read) {
        switch (firstOctet & 0x03) {
        case 0:
            pdu.kind = PduKind::Deliver;
            read = readDeliver(cursor, firstOctet, pdu);
            break;
        case 1:
            pdu.kind = PduKind::Submit;
            read = readSubmit(cursor, firstOctet, pdu);
            break;
        case 2:
            pdu.kind = PduKind::StatusReport;
            read = readStatusReport(cursor, pdu);
            break;
        default:
            cursor.fail(PduProblem::ReservedType, PduField::FirstOctet, 0);
            read = false;
        }
    }
    if (!read) {
        result.error = cursor.error();
        result.error.octet += tpduStart;
        return result;
    }
    result.pdu = std::move(pdu);
    return result;
}

} // namespace

PduDecoding decodePdu(std::string_view hex, std::optional<int> tpduLength) {
    const auto octets = octetsOf(hex);
    if (!octets) {
        PduDecoding result;
        result.error = {PduProblem::NotHex, PduField::Hex, 0};
        return result;
    }
    // Phones that leave the service centre out are told by the length alone;
    // where that guess fails, the other reading is tried before giving up.
    // Without a length there is no guess to doubt.
    const bool centre = serviceCentreFirst(*octets, tpduLength);
    PduDecoding result = decodeOctets(*octets, centre, tpduLength);
    if (!result && tpduLength) {
        PduDecoding other = decodeOctets(*octets, !centre, tpduLength);
        if (other)
            return other;
    }
    return result;
}

QString markedHexDump(const QByteArray& data) {
    return QStringLiteral("[8-bit: %1]").arg(QString::fromLatin1(data.toHex(' ').toUpper()));
}

} // namespace qb
