// The GSM 7-bit default alphabet, its extension table and septet packing.
#include "codecs/GsmAlphabet.h"
#include "PduBuilder.h"

#include <gtest/gtest.h>

using namespace qb;
using test::packSeptets;
using test::septetsOf;

namespace {

QString decoded(const std::vector<std::uint8_t>& septets) {
    return gsm::decodeSeptets(septets);
}

} // namespace

TEST(GsmAlphabet, UnpacksWhatWasPackedFromAnyFillBit) {
    const std::vector<std::uint8_t> septets = septetsOf("hellohello, 1 2 3");
    for (int fill = 0; fill < 7; ++fill) {
        SCOPED_TRACE(fill);
        EXPECT_EQ(gsm::unpackSeptets(packSeptets(septets, fill), septets.size(), fill), septets);
    }
}

TEST(GsmAlphabet, UnpacksTheSeptetsOfARealText) {
    // "hellohello", from ModemManager's PDU tests.
    const std::vector<std::uint8_t> octets{0xE8, 0x32, 0x9B, 0xFD, 0x46, 0x97, 0xD9, 0xEC, 0x37};
    EXPECT_EQ(decoded(gsm::unpackSeptets(octets, 10)), u"hellohello");
}

TEST(GsmAlphabet, LeavesOutSeptetsTheOctetsDoNotReach) {
    EXPECT_EQ(gsm::unpackSeptets(packSeptets(septetsOf("abc")), 9).size(), 3u);
    EXPECT_TRUE(gsm::unpackSeptets({}, 5).empty());
}

TEST(GsmAlphabet, MapsTheDefaultAlphabet) {
    struct Case {
        std::uint8_t septet;
        char16_t character;
    };
    const Case cases[] = {{0x00, u'@'},  {0x01, u'£'}, {0x02, u'$'}, {0x09, u'Ç'}, {0x0A, u'\n'},
                          {0x0D, u'\r'}, {0x10, u'Δ'}, {0x11, u'_'}, {0x15, u'Ω'}, {0x1A, u'Ξ'},
                          {0x1C, u'Æ'},  {0x1F, u'É'}, {0x24, u'¤'}, {0x40, u'¡'}, {0x5B, u'Ä'},
                          {0x5F, u'§'},  {0x60, u'¿'}, {0x7B, u'ä'}, {0x7F, u'à'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.septet);
        EXPECT_EQ(decoded({c.septet}), QString(QChar(c.character)));
    }
}

TEST(GsmAlphabet, EscapesIntoTheExtensionTable) {
    EXPECT_EQ(decoded({0x1B, 0x65, 0x1B, 0x28, 0x1B, 0x29, 0x1B, 0x3C, 0x1B, 0x3E}),
              QString::fromUtf16(u"€{}[]"));
    EXPECT_EQ(decoded({0x1B, 0x14, 0x1B, 0x2F, 0x1B, 0x3D, 0x1B, 0x40, 0x1B, 0x0A}),
              QString::fromUtf16(u"^\\~|\f"));
}

TEST(GsmAlphabet, AnUnknownEscapeReadsAsTheDefaultCharacter) {
    EXPECT_EQ(decoded({0x1B, 0x41}), u"A");
    EXPECT_EQ(decoded({0x41, 0x1B}), u"A"); // an escape at the end
    EXPECT_EQ(decoded({0x1B, 0x1B, 0x42}), u"B");
}
