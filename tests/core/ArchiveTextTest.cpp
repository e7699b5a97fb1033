// The archive's escaped form of characters Windows-1251 lacks.
#include "core/ArchiveText.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

QString u(const char16_t* text) {
    return QString::fromUtf16(text);
}

} // namespace

TEST(ArchiveText, EveryTextComesBackFromItsEncoding) {
    const QString texts[] = {
        u(u""),
        u(u"Привет, мир! № 5 — «ёлка» €"),
        u(u"Hi 😀 and 👍🏽 done"),        // surrogate pairs, a modifier
        u(u"ΔΦΓΛΩΠΨΣΘΞ from the GSM alphabet"), // Greek capitals
        u(u"你好"),                             // CJK
        u(u"\x10U+0041; typed look-alike"),     // a DLE before a valid-looking escape
        u(u"U+1F600; without its DLE"),         // what an ordinary text may hold
        u(u"\x10\x10U+;\x10"),                  // DLEs on their own
        u(u"tab\tCR\rLF\nNUL") + QChar(u'\0') + u(u"DEL\x7F"),
        QChar(char16_t(0xD83D)) + u(u"lone high, lone low") + QChar(char16_t(0xDE00)),
        u(u"\x0098 is the code page's hole"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(archivetext::decode(archivetext::encode(text)), text);
    }
}

TEST(ArchiveText, CharactersTheCodePageHasStayOneByteEach) {
    EXPECT_EQ(archivetext::encode(u(u"Мама, $5 € №")), "\xCC\xE0\xEC\xE0, $5 \x88 \xB9");
    EXPECT_EQ(archivetext::decode("\xCC\xE0\xEC\xE0, $5 \x88 \xB9"), u(u"Мама, $5 € №"));
}

TEST(ArchiveText, OtherCharactersBecomeOneEscapeEach) {
    EXPECT_EQ(archivetext::encode(u(u"Δ")), "\x10U+0394;");
    EXPECT_EQ(archivetext::encode(u(u"你好")), "\x10U+4F60;\x10U+597D;");
    EXPECT_EQ(archivetext::encode(u(u"a😀b")), "a\x10U+1F600;b");
    EXPECT_EQ(archivetext::encode(QString::fromUcs4(U"\U0010FFFD")), "\x10U+10FFFD;");
    EXPECT_EQ(archivetext::encode(QString(QChar(char16_t(0xDE00)))), "\x10U+DE00;");
}

TEST(ArchiveText, NoLineBreakOrZeroByteReachesTheLine) {
    const std::string bytes = archivetext::encode(u(u"a\r\nb") + QChar(u'\0') + u(u"c\x10"));
    EXPECT_EQ(bytes, "a\x10U+000D;\x10U+000A;b\x10U+0000;c\x10U+0010;");
    EXPECT_EQ(bytes.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
}

TEST(ArchiveText, BytesThatAreNoEscapeStayAsTheyStand) {
    struct Case {
        const char* bytes;
        const char16_t* text;
    };
    const Case cases[] = {
        {"U+1F600;", u"U+1F600;"},           // an archived text that merely looks like one
        {"\x10U+1F60", u"\x10U+1F60"},       // cut by a reader's line limit
        {"\x10u+1f600;", u"\x10u+1f600;"},   // lower case is not the encoder's
        {"\x10U+041;", u"\x10U+041;"},       // too few digits
        {"\x10U+0041F;", u"\x10U+0041F;"},   // a leading zero past four digits
        {"\x10U+110000;", u"\x10U+110000;"}, // past the last code point
        {"\x10U+1234567;", u"\x10U+1234567;"},
        {"\x10\x10U+0394;", u"\x10Δ"},
        {"\x10U+0041;", u"A"}, // a character the code page has, written long-hand
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(archivetext::decode(c.bytes), QString::fromUtf16(c.text));
    }
}

TEST(ArchiveText, QuickCheckForEscapes) {
    EXPECT_FALSE(archivetext::holdsEscape(""));
    EXPECT_FALSE(archivetext::holdsEscape("\xCC\xE0\xEC\xE0"));
    EXPECT_TRUE(archivetext::holdsEscape("a\x10U+0394;"));
}

TEST(ArchiveText, LineBreaksFoldIntoOneBlankEach) {
    EXPECT_EQ(archivetext::foldLineBreaks(u(u"a\r\nb\rc\nd\n\re")), u(u"a b c d  e"));
    EXPECT_EQ(archivetext::foldLineBreaks(u(u"😀\r")), u(u"😀 "));
}
