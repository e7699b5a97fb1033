// The PDU decoder on PDUs built field by field: each case changes the fields
// it is about. Whole PDUs of real phones and networks are in data/pdus.
#include "codecs/SmsPdu.h"
#include "PduBuilder.h"
#include "codecs/PduFields.h"

#include <gtest/gtest.h>

using namespace qb;
using test::hexOf;
using test::PduBuilder;
using test::septetsOf;

namespace {

DecodedPdu decoded(const std::string& hex, std::optional<int> length = std::nullopt) {
    const PduDecoding result = decodePdu(hex, length);
    EXPECT_TRUE(result) << hex << " failed at octet " << result.error.octet;
    return result ? *result.pdu : DecodedPdu{};
}

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

} // namespace

TEST(SmsPdu, ReadsADeliverWithItsSenderAndTimeStamp) {
    const DecodedPdu pdu = decoded(PduBuilder().text(septetsOf("Hi there")).hex());
    EXPECT_EQ(pdu.kind, PduKind::Deliver);
    EXPECT_EQ(pdu.serviceCentre, u"+79168999110");
    EXPECT_EQ(pdu.address.number, u"+79161234567");
    EXPECT_EQ(pdu.address.kind, AddressKind::International);
    ASSERT_TRUE(pdu.time);
    EXPECT_EQ(pdu.time->toDateTime().toString(Qt::ISODate), u"2008-04-02T18:22:37+03:00");
    EXPECT_EQ(pdu.text, u"Hi there");
    EXPECT_FALSE(pdu.part);
}

TEST(SmsPdu, TellsTheKindOfEachNumber) {
    struct Case {
        std::vector<std::uint8_t> address;
        const char16_t* number;
        AddressKind kind;
    };
    const Case cases[] = {
        {{0x0B, 0xA1, 0x98, 0x61, 0x21, 0x43, 0x65, 0xF7}, u"89161234567", AddressKind::National},
        {{0x03, 0x81, 0x00, 0xF9}, u"009", AddressKind::Unknown},
        {{0x04, 0x85, 0x81, 0x00}, u"1800", AddressKind::Unknown}, // a private numbering plan
        {{0x05, 0xC1, 0xBA, 0xDC, 0xFE}, u"*#abc", AddressKind::Other},
        {{0x00, 0x91}, u"", AddressKind::International},
        // "InternetSMS", from ModemManager's PDU tests.
        {{0x14, 0xD0, 0x49, 0x37, 0xBD, 0x2C, 0x77, 0x97, 0xE9, 0xD3, 0xE6, 0x14},
         u"InternetSMS",
         AddressKind::Alphanumeric},
    };
    for (const Case& c : cases) {
        PduBuilder b;
        b.address = c.address;
        const DecodedPdu pdu = decoded(b.text(septetsOf("x")).hex());
        EXPECT_EQ(pdu.address.number, u(c.number));
        EXPECT_EQ(pdu.address.kind, c.kind);
    }
}

TEST(SmsPdu, ReadsASubmitWithEveryValidityPeriodFormat) {
    struct Case {
        std::uint8_t firstOctet;
        std::vector<std::uint8_t> validity;
    };
    const Case cases[] = {{0x01, {}},
                          {0x11, {0xA7}},
                          {0x09, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}},
                          {0x19, {0x80, 0x40, 0x20, 0x81, 0x22, 0x73, 0x21}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.firstOctet));
        PduBuilder b;
        b.firstOctet = c.firstOctet;
        b.validity = c.validity;
        const DecodedPdu pdu = decoded(b.text(septetsOf("sent")).hex());
        EXPECT_EQ(pdu.kind, PduKind::Submit);
        EXPECT_EQ(pdu.address.number, u"+79161234567");
        EXPECT_EQ(pdu.messageReference, 0);
        EXPECT_FALSE(pdu.time);
        EXPECT_EQ(pdu.text, u"sent");
    }
}

TEST(SmsPdu, TheStatedLengthTellsAPduWithoutServiceCentre) {
    PduBuilder b;
    b.text(septetsOf("no centre"));
    const std::string tpdu = hexOf(b.tpdu());
    const DecodedPdu pdu = decoded(tpdu, b.tpduLength());
    EXPECT_TRUE(pdu.serviceCentre.isEmpty());
    EXPECT_EQ(pdu.text, u"no centre");
    // With padding after it too.
    EXPECT_EQ(decoded(tpdu + "FFFFFFFF", b.tpduLength()).text, u"no centre");
    // "00" in front is an empty service-centre address.
    EXPECT_EQ(decoded("00" + tpdu, b.tpduLength()).text, u"no centre");
}

TEST(SmsPdu, PaddingAfterThePduIsPassedOver) {
    PduBuilder b;
    b.text(septetsOf("padded"));
    b.trailing = {0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(decoded(b.hex()).text, u"padded");
    EXPECT_EQ(decoded(b.hex(), b.tpduLength()).text, u"padded");
    EXPECT_EQ(decoded(b.hex(), b.tpduLength() + 4).text, u"padded"); // a length counting it
}

TEST(SmsPdu, DigitsThatAreNoHexAreAnError) {
    for (const char* hex : {"0", "0G", "07 91", "079197619899\r"}) {
        const PduDecoding result = decodePdu(hex);
        EXPECT_FALSE(result) << hex;
        EXPECT_EQ(result.error.problem, PduProblem::NotHex);
    }
    // Either letter case is hex.
    std::string lower = PduBuilder().text(septetsOf("ok")).hex();
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(decoded(lower).text, u"ok");
}

TEST(SmsPdu, EveryCutShortPduIsAnErrorNamingWhereItEnds) {
    PduBuilder b;
    b.header = {0x00, 0x03, 0x2A, 0x02, 0x01};
    b.text(septetsOf("cut anywhere"));
    const std::string hex = b.hex();
    for (std::size_t octets = 0; octets < hex.size() / 2; ++octets) {
        SCOPED_TRACE(octets);
        const PduDecoding result = decodePdu(hex.substr(0, octets * 2));
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error.problem, PduProblem::Truncated);
        EXPECT_LE(result.error.octet, octets);
    }
    struct Case {
        std::size_t octets;
        PduField field;
    };
    const Case fields[] = {{0, PduField::ServiceCentre},
                           {5, PduField::ServiceCentre},
                           {8, PduField::FirstOctet},
                           {10, PduField::Address},
                           {17, PduField::ProtocolIdentifier},
                           {18, PduField::DataCoding},
                           {20, PduField::TimeStamp},
                           {26, PduField::UserDataLength},
                           {30, PduField::UserData}};
    for (const Case& c : fields) {
        SCOPED_TRACE(c.octets);
        EXPECT_EQ(decodePdu(hex.substr(0, c.octets * 2)).error.field, c.field);
    }
}

TEST(SmsPdu, TheReservedMessageTypeIsAnError) {
    PduBuilder b;
    b.firstOctet = 0x03;
    const PduDecoding result = decodePdu(b.text(septetsOf("x")).hex());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error.problem, PduProblem::ReservedType);
    EXPECT_EQ(result.error.octet, 8u);
}

TEST(SmsPdu, ReadsBothConcatenationElementsAndTheFillBitsAfterThem) {
    struct Case {
        std::vector<std::uint8_t> header;
        std::optional<ConcatPart> part;
    };
    const Case cases[] = {
        {{0x00, 0x03, 0x2A, 0x03, 0x02}, ConcatPart{42, 3, 2}},
        {{0x08, 0x04, 0x01, 0x2C, 0x02, 0x01}, ConcatPart{300, 2, 1}},
        // Other elements are passed over, before and after.
        {{0x0A, 0x02, 0x11, 0x22, 0x00, 0x03, 0x05, 0x02, 0x02, 0x24, 0x01, 0x00},
         ConcatPart{5, 2, 2}},
        // Parts numbered 0 or past their count, and elements of a wrong length.
        {{0x00, 0x03, 0x07, 0x02, 0x00}, std::nullopt},
        {{0x00, 0x03, 0x07, 0x02, 0x03}, std::nullopt},
        {{0x00, 0x03, 0x07, 0x00, 0x01}, std::nullopt},
        {{0x00, 0x04, 0x07, 0x02, 0x01, 0x00}, std::nullopt},
        // An element running past the header ends its reading.
        {{0x00, 0x03, 0x09, 0x02, 0x01, 0x0A, 0x09, 0x01}, ConcatPart{9, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hexOf(c.header));
        PduBuilder b;
        b.header = c.header;
        const DecodedPdu pdu = decoded(b.text(septetsOf("part text (fill)")).hex());
        EXPECT_EQ(pdu.text, u"part text (fill)");
        ASSERT_EQ(bool(pdu.part), bool(c.part));
        if (c.part) {
            EXPECT_EQ(pdu.part->reference, c.part->reference);
            EXPECT_EQ(pdu.part->count, c.part->count);
            EXPECT_EQ(pdu.part->sequence, c.part->sequence);
        }
    }
}

TEST(SmsPdu, AHeaderLongerThanTheUserDataIsAnError) {
    PduBuilder b;
    b.dcs = 0x08;
    b.octets({0x00, 0x41});
    b.userData = {0x09, 0x00, 0x03, 0x01};
    b.userDataLength = 4;
    b.firstOctet |= 0x40;
    const PduDecoding result = decodePdu(b.hex());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error.problem, PduProblem::BadUserData);
    EXPECT_EQ(result.error.field, PduField::UserDataHeader);
}

TEST(SmsPdu, ReadsUcs2AsUtf16SoHalvesOfAPairSurvive) {
    PduBuilder b;
    b.dcs = 0x08;
    EXPECT_EQ(decoded(b.octets({0xD8, 0x3D, 0xDE, 0x00, 0x04, 0x1C}).hex()).text, u"😀М");
    // A part may end with the first half of a pair and the next begin with the second.
    const QString firstHalf = decoded(b.octets({0x00, 0x41, 0xD8, 0x3D}).hex()).text;
    const QString secondHalf = decoded(b.octets({0xDE, 0x00}).hex()).text;
    EXPECT_EQ(firstHalf + secondHalf, u"A😀");
    // An odd octet at the end is half a code unit: no character.
    EXPECT_EQ(decoded(b.octets({0x00, 0x41, 0x00}).hex()).text, u"A");
}

TEST(SmsPdu, KeepsEightBitDataAsAMarkedHexDump) {
    PduBuilder b;
    b.dcs = 0xF4;
    const DecodedPdu pdu = decoded(b.octets({0x0B, 0x05, 0xFF}).hex());
    EXPECT_EQ(pdu.coding, TextCoding::EightBit);
    EXPECT_EQ(pdu.data, QByteArray("\x0B\x05\xFF"));
    EXPECT_EQ(pdu.text, u"[8-bit: 0B 05 FF]");
    EXPECT_EQ(markedHexDump({}), u"[8-bit: ]");
}

TEST(SmsPdu, TheDataCodingSchemeChoosesTheAlphabet) {
    struct Case {
        std::uint8_t dcs;
        TextCoding coding;
    };
    const Case cases[] = {
        {0x00, TextCoding::Gsm7},     {0x04, TextCoding::EightBit}, {0x08, TextCoding::Ucs2},
        {0x0C, TextCoding::Gsm7},     {0x11, TextCoding::Gsm7},     {0x24, TextCoding::EightBit},
        {0x48, TextCoding::Ucs2},     {0x80, TextCoding::Gsm7},     {0xC8, TextCoding::Gsm7},
        {0xD0, TextCoding::Gsm7},     {0xE8, TextCoding::Ucs2},     {0xF1, TextCoding::Gsm7},
        {0xF6, TextCoding::EightBit}, {0xFF, TextCoding::EightBit}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.dcs));
        EXPECT_EQ(pdu::codingOf(c.dcs), c.coding);
    }
}

TEST(SmsPdu, TimeStampsAndTheirZones) {
    struct Case {
        std::vector<std::uint8_t> octets;
        const char16_t* iso; // empty: no time
    };
    const Case cases[] = {
        {{0x11, 0x20, 0x82, 0x11, 0x05, 0x05, 0x0A}, u"2011-02-28T11:50:50-05:00"},
        {{0x99, 0x21, 0x13, 0x32, 0x54, 0x76, 0x00}, u""}, // second 67,
        {{0x99, 0x21, 0x13, 0x32, 0x54, 0x95, 0x00}, u"1999-12-31T23:45:59Z"},
        {{0x80, 0x40, 0x20, 0x81, 0x22, 0x73, 0x6C}, u"2008-04-02T18:22:37-11:30"},
        {{0x80, 0x40, 0x20, 0x81, 0x22, 0x73, 0xA0}, u"2008-04-02T18:22:37"}, // no zone digit
        {{0x80, 0x40, 0x20, 0x81, 0x22, 0x73, 0x07}, u"2008-04-02T18:22:37"}, // 70 quarters
        {{0x80, 0x31, 0x20, 0x81, 0x22, 0x73, 0x21}, u""},                    // month 13
        {{0x80, 0x40, 0x20, 0x81, 0xF2, 0x73, 0x21}, u""},                    // no digit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hexOf(c.octets));
        const auto stamp = pdu::timeStamp(c.octets);
        EXPECT_EQ(stamp ? stamp->toDateTime().toString(Qt::ISODate) : QString(), u(c.iso));
    }
    // A message whose time stamp cannot be read keeps its text, without a time.
    PduBuilder b;
    b.timeStamp = {0x80, 0x31, 0x20, 0x81, 0x22, 0x73, 0x21};
    const DecodedPdu pdu = decoded(b.text(septetsOf("still here")).hex());
    EXPECT_FALSE(pdu.time);
    EXPECT_EQ(pdu.text, u"still here");
}
