// The small helpers every reply parser builds on.
#include "codecs/FieldBounds.h"
#include "codecs/LegacyUcs2Decoder.h"
#include "codecs/Timestamp.h"
#include "codecs/Ucs2Decoder.h"
#include "core/ArchiveText.h"

#include <gtest/gtest.h>

using namespace qb;

TEST(decodeUcs2Hex, IgnoresDigitsThatDoNotFillAGroup) {
    EXPECT_EQ(decodeUcs2Hex(""), "");
    EXPECT_EQ(decodeUcs2Hex("041"), "");
    EXPECT_EQ(decodeUcs2Hex("04100"), "\xC0");
}

TEST(decodeUcs2Hex, TurnsCyrillicAndLatinIntoTheirCodePageBytes) {
    EXPECT_EQ(decodeUcs2Hex("0410041A"), "\xC0\xCA");
    EXPECT_EQ(decodeUcs2Hex("00410062"), "Ab");
    EXPECT_EQ(decodeUcs2Hex("041C0430043C0430"), "\xCC\xE0\xEC\xE0");
    EXPECT_EQ(decodeUcs2Hex("04510401"), "\xB8\xA8");
    EXPECT_EQ(decodeUcs2Hex("2116"), "\xB9");
    EXPECT_EQ(decodeUcs2Hex("0030003900200040"), "09 @");
}

TEST(decodeUcs2Hex, ReadsLowerCaseDigits) {
    EXPECT_EQ(decodeUcs2Hex("041a"), "\xCA");
    EXPECT_EQ(decodeUcs2Hex("043a"), "\xEA");
    EXPECT_EQ(decodeUcs2Hex("0041006200aB"), "Ab\xAB");
}

TEST(decodeUcs2Hex, KeepsEveryCharacterTheCodePageHas) {
    EXPECT_EQ(decodeUcs2Hex("004100270042"), "A'B");
    EXPECT_EQ(decodeUcs2Hex("00240023"), "$#");
    EXPECT_EQ(decodeUcs2Hex("20AC00AB00BB2014"), "\x88\xAB\xBB\x97");
    // Ukrainian і, ї, є, ґ
    EXPECT_EQ(decodeUcs2Hex("0456045704540491"), "\xB3\xBF\xBA\xB4");
}

TEST(decodeUcs2Hex, ReadsTheCommaAlsoWithItsBytesSwapped) {
    EXPECT_EQ(decodeUcs2Hex("2C00"), ",");
    EXPECT_EQ(decodeUcs2Hex("002C"), ",");
}

TEST(decodeUcs2Hex, TurnsEachLineBreakIntoOneBlank) {
    EXPECT_EQ(decodeUcs2Hex("0048000D000A0069"), "H i");
    EXPECT_EQ(decodeUcs2Hex("0048000D0069"), "H i");
    EXPECT_EQ(decodeUcs2Hex("0048000A0069"), "H i");
    EXPECT_EQ(decodeUcs2Hex("0048000A000D0069"), "H  i");
}

TEST(decodeUcs2Hex, DropsControlCodesAndCharactersTheCodePageLacks) {
    EXPECT_EQ(decodeUcs2Hex("00410000000700090042"), "AB"); // NUL, bell, tab
    EXPECT_EQ(decodeUcs2Hex("0041D83DDE000042"), "AB");     // emoji
    EXPECT_EQ(decodeUcs2Hex("00414E2D0042007F"), "AB");     // CJK, DEL
}

TEST(decodeUcs2Hex, DropsGroupsThatAreNotHexadecimal) {
    EXPECT_EQ(decodeUcs2Hex("0041ZZZZ00 20042"), "AB");
    // A leading quotation mark shifts every group off its boundary.
    EXPECT_EQ(decodeUcs2Hex("\"041C0430"), "");
}

// The decoding of earlier versions, which the merge needs to recognise the
// texts in their archives: a table of 147 upper-case keys.
TEST(DecodeUcs2HexLegacy, KnowsExactly147UpperCaseCodes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    int known = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const std::string group{digits[code >> 12], digits[(code >> 8) & 15],
                                digits[(code >> 4) & 15], digits[code & 15]};
        known += decodeUcs2HexLegacy(group).size() == 1 ? 1 : 0;
    }
    EXPECT_EQ(known, 147);
    EXPECT_EQ(decodeUcs2HexLegacy("0410044F04010451211600300041007A"), "\xC0\xFF\xA8\xB8\xB9"
                                                                       "0Az");
    EXPECT_EQ(decodeUcs2HexLegacy("002C2C000040003F0022"), ",,@?\"");
}

TEST(DecodeUcs2HexLegacy, DropsWhatTodaysDecodingKeeps) {
    EXPECT_EQ(decodeUcs2HexLegacy("041a"), "");                 // lower-case digits
    EXPECT_EQ(decodeUcs2HexLegacy("0048000D000A0069"), "Hi");   // line breaks
    EXPECT_EQ(decodeUcs2HexLegacy("004100270042"), "AB");       // apostrophe
    EXPECT_EQ(decodeUcs2HexLegacy("00230026003C003E005B"), ""); // # & < > [
    EXPECT_EQ(decodeUcs2HexLegacy("0400040F0450045F20AC"), ""); // other Cyrillic, euro sign
    EXPECT_EQ(decodeUcs2HexLegacy("04100"), "\xC0");
    EXPECT_EQ(decodeUcs2HexLegacy("\"041C0430"), "");
}

TEST(firstPosition, FindsTheFirstOccurrenceFromOne) {
    EXPECT_EQ(firstPosition('"', "+MMGL: 1, \"REC READ\", \"+79\""), 11);
    EXPECT_EQ(firstPosition('"', "\"x\""), 1);
    EXPECT_EQ(firstPosition('"', "OK"), -1);
}

TEST(updateFieldBounds, SetsWhatItFindsAndKeepsTheRest) {
    CarriedFieldBounds bounds;
    updateFieldBounds(bounds, ':', ',', "+MMGL: 12, \"REC READ\"");
    EXPECT_EQ(bounds.fieldStart, 6);
    EXPECT_EQ(bounds.fieldEnd, 10);

    updateFieldBounds(bounds, ';', ';', "a;b;c");
    EXPECT_EQ(bounds.fieldStart, 2);
    EXPECT_EQ(bounds.fieldEnd, 4);

    updateFieldBounds(bounds, ':', ',', "no delimiter");
    EXPECT_EQ(bounds.fieldStart, 2);
    EXPECT_EQ(bounds.fieldEnd, 4);

    updateFieldBounds(bounds, ':', ',', "x:y");
    EXPECT_EQ(bounds.fieldStart, 2);
    EXPECT_EQ(bounds.fieldEnd, 4);
    updateFieldBounds(bounds, ':', ',', "xxxx:y");
    EXPECT_EQ(bounds.fieldStart, 5);
    EXPECT_EQ(bounds.fieldEnd, 4);
}

TEST(normaliseTimestamp, PutsTheDayFirstAndPadsShortFields) {
    EXPECT_EQ(normaliseTimestamp("\"2005/01/02,12:34:56"), "02/01/2005,12:34:56");
    EXPECT_EQ(normaliseTimestamp("2005/1/2,9:5:3"), "02/01/2005,09:05:03");
    EXPECT_EQ(normaliseTimestamp("2009/8/18,19:11:45\""), "18/08/2009,19:11:45\"");
}

TEST(normaliseTimestamp, OddInputFollowsTheFixedPositions) {
    EXPECT_EQ(normaliseTimestamp("05/01/02,12:34:56+12"), "02/01/05/0,12:34:56+12");
    EXPECT_EQ(normaliseTimestamp("2005/01/02,12:34"), "02/01/2005,12:00:00");
    EXPECT_EQ(normaliseTimestamp("2005/01/02 12:34:56"), "0/01/2005,0:00:00");
    EXPECT_EQ(normaliseTimestamp(""), "0/0/,0:00:00");
}

// Kept: every character the phone sent, as the archive's escapes where the
// code page lacks it; without the escapes, what the dropping decoding gave.
TEST(decodeUcs2HexKept, KeepsWhatTheCodePageLacksAndOtherwiseDecodesAlike) {
    const std::pair<const char*, const char16_t*> cases[] = {
        {"041C0430043C0430", u"Мама"},
        {"0394039300200041", u"ΔΓ A"},
        {"D83DDE00", u"😀"},
        {"4F60597D", u"你好"},
        {"0041000D000A0042000A0043", u"A B C"}, // breaks fold into
                                                // one blank each
        {"00412C000042", u"A,B"},               // the swapped comma
        {"0041000900420000", u"A\tB"},          // a tab kept, a zero group dropped
        {"0041zz000042", u"AB"},                // no hexadecimal group
    };
    for (const auto& [digits, text] : cases) {
        const std::string kept = decodeUcs2HexKept(digits);
        EXPECT_EQ(archivetext::decode(kept), QString::fromUtf16(text)) << digits;
        EXPECT_EQ(archivetext::withoutEscapes(kept), decodeUcs2Hex(digits)) << digits;
    }
}
