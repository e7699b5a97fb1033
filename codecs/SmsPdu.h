#pragma once
// Decoding the PDUs a phone lists in PDU mode (3GPP TS 23.040): the
// service-centre address in front, then an SMS-DELIVER (received), an
// SMS-SUBMIT (written on the phone) or an SMS-STATUS-REPORT. Pure functions;
// whatever the bytes, the decoder answers with a value or an error.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstddef>
#include <optional>
#include <string_view>

namespace qb {

enum class PduKind { Deliver, Submit, StatusReport };

enum class AddressKind {
    Unknown,       // digits of no stated kind
    International, // digits after a country code, written with "+"
    National,
    Alphanumeric, // a sender's name, such as "InternetSMS"
    Other,        // network-specific, subscriber or abbreviated numbers
};

struct SmsAddress {
    QString number; // "+79161234567", "89161234567", "InternetSMS"
    AddressKind kind = AddressKind::Unknown;
};

// A service centre's time stamp: the wall-clock time it states, with the zone
// it gives when that zone is a real one.
struct SmsTime {
    QDate date;
    QTime time;
    std::optional<int> zoneMinutes; // east of UTC

    // With its offset from UTC, or as local time where no zone was given.
    QDateTime toDateTime() const;
};

enum class TextCoding { Gsm7, Ucs2, EightBit };

// One part of a long message: information element 0x00 (8-bit reference) or
// 0x08 (16-bit reference) of the user-data header.
struct ConcatPart {
    int reference = 0;
    int count = 1;    // parts of the whole message
    int sequence = 1; // this part's place, from 1
};

struct DecodedPdu {
    PduKind kind = PduKind::Deliver;
    QString serviceCentre; // empty when the PDU carries none
    // The sender of a DELIVER, the recipient of a SUBMIT or a STATUS-REPORT.
    SmsAddress address;
    // DELIVER and STATUS-REPORT: the service centre's time stamp, when readable.
    std::optional<SmsTime> time;
    TextCoding coding = TextCoding::Gsm7;
    // The text; for 8-bit data, which is no text, its bytes as markedHexDump().
    QString text;
    QByteArray data; // 8-bit data as sent; empty for texts
    std::optional<ConcatPart> part;
    int messageReference = -1; // SUBMIT and STATUS-REPORT
    int reportStatus = -1;     // STATUS-REPORT: TP-Status
};

enum class PduProblem {
    NotHex,       // an odd number of digits, or a character that is no hex digit
    Truncated,    // the PDU ends inside `field`
    ReservedType, // the message type indicator is 3, which TS 23.040 reserves
    BadUserData,  // the user-data header runs past the user data
};

enum class PduField {
    Hex,
    ServiceCentre,
    FirstOctet,
    MessageReference,
    Address,
    ProtocolIdentifier,
    DataCoding,
    TimeStamp,
    ValidityPeriod,
    UserDataLength,
    UserDataHeader,
    UserData,
    Status,
};

struct PduError {
    PduProblem problem = PduProblem::Truncated;
    PduField field = PduField::Hex;
    std::size_t octet = 0; // where the field starts, counted from the PDU's first octet
};

struct PduDecoding {
    std::optional<DecodedPdu> pdu;
    PduError error; // when there is no pdu
    explicit operator bool() const { return pdu.has_value(); }
};

// Decodes a PDU given as hex digits (either case). `tpduLength`, the length the
// phone states in its listing line, counts the octets after the
// service-centre address: it tells a PDU without that address (some phones
// leave it out) and lets padding after the PDU be passed over. Padding after
// the user data is passed over in any case.
PduDecoding decodePdu(std::string_view hex, std::optional<int> tpduLength = std::nullopt);

// 8-bit data kept visible as text: "[8-bit: 0A 1B FF]". The mark is the same in
// every interface language, as are the archive files that keep it.
QString markedHexDump(const QByteArray& data);

} // namespace qb
