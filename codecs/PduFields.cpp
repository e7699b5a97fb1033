#include "codecs/PduFields.h"

#include "codecs/GsmAlphabet.h"

namespace qb::pdu {
namespace {

// Semi-octet digits in the order TS 23.040 gives them; 0xF fills the last octet.
constexpr char16_t SemiOctets[] = u"0123456789*#abc";

QString digits(std::span<const std::uint8_t> octets) {
    QString text;
    for (const std::uint8_t octet : octets)
        for (const unsigned nibble : {octet & 0x0Fu, unsigned(octet >> 4)})
            if (nibble != 0xF)
                text += QChar(SemiOctets[nibble]);
    return text;
}

AddressKind kindOf(std::uint8_t typeOfAddress) {
    switch ((typeOfAddress >> 4) & 0x07) {
    case 0:
        return AddressKind::Unknown;
    case 1:
        return AddressKind::International;
    case 2:
        return AddressKind::National;
    case 5:
        return AddressKind::Alphanumeric;
    default:
        return AddressKind::Other;
    }
}

QString withKind(QString number, AddressKind kind) {
    return kind == AddressKind::International && !number.isEmpty() ? u'+' + number : number;
}

// The two decimal digits of a time stamp octet, low nibble first; -1 when
// either is no digit.
int swappedDecimal(std::uint8_t octet) {
    const int tens = octet & 0x0F;
    const int units = octet >> 4;
    return tens > 9 || units > 9 ? -1 : tens * 10 + units;
}

// The zone octet: quarter hours, the sign in bit 3 of the tens digit.
std::optional<int> zoneMinutes(std::uint8_t octet) {
    const int tens = octet & 0x07;
    const int units = octet >> 4;
    if (units > 9)
        return std::nullopt;
    const int quarters = tens * 10 + units;
    if (quarters > 14 * 4) // no zone on Earth is further than 14 hours from UTC
        return std::nullopt;
    return (octet & 0x08 ? -quarters : quarters) * 15;
}

// The 0x00 and 0x08 information elements of a user-data header; other
// elements are passed over. A header whose elements run past it is read as
// far as they fit.
std::optional<ConcatPart> concatenation(std::span<const std::uint8_t> header) {
    std::optional<ConcatPart> found;
    std::size_t at = 0;
    while (at + 2 <= header.size()) {
        const std::uint8_t id = header[at];
        const std::size_t length = header[at + 1];
        if (at + 2 + length > header.size())
            break;
        const auto element = header.subspan(at + 2, length);
        at += 2 + length;
        ConcatPart part;
        if (id == 0x00 && length == 3)
            part = {element[0], element[1], element[2]};
        else if (id == 0x08 && length == 4)
            part = {element[0] << 8 | element[1], element[2], element[3]};
        else
            continue;
        // A part numbered 0 or past the count belongs to no whole message.
        if (!found && part.count >= 1 && part.sequence >= 1 && part.sequence <= part.count)
            found = part;
    }
    return found;
}

QString ucs2Text(std::span<const std::uint8_t> octets) {
    QString text;
    text.reserve(static_cast<qsizetype>(octets.size() / 2));
    // Unit by unit and unchecked: a surrogate pair that a long message splits
    // between two parts becomes whole again when the parts are joined.
    for (std::size_t i = 0; i + 1 < octets.size(); i += 2)
        text += QChar(char16_t(octets[i] << 8 | octets[i + 1]));
    return text;
}

} // namespace

bool Cursor::byte(PduField field, std::uint8_t& out) {
    std::span<const std::uint8_t> one;
    if (!take(field, 1, one))
        return false;
    out = one[0];
    return true;
}

bool Cursor::take(PduField field, std::size_t count, std::span<const std::uint8_t>& out) {
    if (count > m_octets.size() - m_at) {
        fail(PduProblem::Truncated, field, m_at);
        return false;
    }
    out = m_octets.subspan(m_at, count);
    m_at += count;
    return true;
}

bool readServiceCentre(Cursor& cursor, QString& number) {
    std::uint8_t length = 0;
    std::span<const std::uint8_t> field;
    if (!cursor.byte(PduField::ServiceCentre, length) ||
        !cursor.take(PduField::ServiceCentre, length, field))
        return false;
    if (!field.empty())
        number = withKind(digits(field.subspan(1)), kindOf(field[0]));
    return true;
}

bool readAddress(Cursor& cursor, SmsAddress& address) {
    std::uint8_t length = 0;
    std::uint8_t type = 0;
    std::span<const std::uint8_t> field;
    if (!cursor.byte(PduField::Address, length) || !cursor.byte(PduField::Address, type) ||
        !cursor.take(PduField::Address, (length + 1u) / 2, field))
        return false;
    address.kind = kindOf(type);
    if (address.kind == AddressKind::Alphanumeric)
        address.number = gsm::decodeSeptets(gsm::unpackSeptets(field, length * 4u / 7));
    else
        address.number = withKind(digits(field).left(length), address.kind);
    return true;
}

std::optional<SmsTime> timeStamp(std::span<const std::uint8_t> octets) {
    int values[6];
    for (int i = 0; i < 6; ++i)
        if ((values[i] = swappedDecimal(octets[static_cast<std::size_t>(i)])) < 0)
            return std::nullopt;
    // Two-digit years: SMS began in the nineties.
    const int year = values[0] + (values[0] >= 90 ? 1900 : 2000);
    SmsTime stamp{QDate(year, values[1], values[2]), QTime(values[3], values[4], values[5]),
                  zoneMinutes(octets[6])};
    if (!stamp.date.isValid() || !stamp.time.isValid())
        return std::nullopt;
    return stamp;
}

TextCoding codingOf(std::uint8_t dcs) {
    const unsigned group = dcs >> 4;
    if (group <= 0x7) { // general coding and automatic deletion groups
        if (dcs & 0x20)
            return TextCoding::EightBit; // compressed: no text this decoder can read
        const unsigned alphabet = (dcs >> 2) & 0x03;
        return alphabet == 1   ? TextCoding::EightBit
               : alphabet == 2 ? TextCoding::Ucs2
                               : TextCoding::Gsm7;
    }
    if (group == 0xE)
        return TextCoding::Ucs2; // message waiting, store message, UCS2
    if (group == 0xF)
        return dcs & 0x04 ? TextCoding::EightBit : TextCoding::Gsm7;
    return TextCoding::Gsm7; // reserved groups and the other message waiting groups
}

bool readUserData(Cursor& cursor, bool hasHeader, TextCoding coding, DecodedPdu& pdu) {
    std::uint8_t length = 0;
    if (!cursor.byte(PduField::UserDataLength, length))
        return false;
    const std::size_t start = cursor.offset();
    const std::size_t octets = coding == TextCoding::Gsm7 ? (length * 7u + 7) / 8 : length;
    std::span<const std::uint8_t> data;
    if (!cursor.take(PduField::UserData, octets, data))
        return false;
    std::size_t headerOctets = 0;
    if (hasHeader && !data.empty()) {
        headerOctets = data[0] + 1u;
        if (headerOctets > data.size()) {
            cursor.fail(PduProblem::BadUserData, PduField::UserDataHeader, start);
            return false;
        }
        pdu.part = concatenation(data.subspan(1, headerOctets - 1));
    }
    pdu.coding = coding;
    if (coding == TextCoding::Gsm7) {
        // The text starts at the septet after the header's fill bits.
        const std::size_t skip = (headerOctets * 8 + 6) / 7;
        const auto septets = gsm::unpackSeptets(data, length);
        pdu.text = gsm::decodeSeptets(std::span(septets).subspan(std::min(skip, septets.size())));
    } else if (coding == TextCoding::Ucs2) {
        pdu.text = ucs2Text(data.subspan(headerOctets));
    } else {
        const auto body = data.subspan(headerOctets);
        pdu.data = QByteArray(reinterpret_cast<const char*>(body.data()), qsizetype(body.size()));
        pdu.text = markedHexDump(pdu.data);
    }
    return true;
}

} // namespace qb::pdu
