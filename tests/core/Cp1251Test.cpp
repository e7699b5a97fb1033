#include "core/Cp1251.h"

#include <gtest/gtest.h>

using namespace qb;

TEST(Cp1251, RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 0x20; b < 256; ++b)
        if (b != 0x98) // the one hole of the code page
            all += static_cast<char>(b);
    EXPECT_EQ(cp1251::fromUnicode(cp1251::toUnicode(all)), all);
}

TEST(Cp1251, KnowsRussianUkrainianAndTypographicCharacters) {
    EXPECT_EQ(cp1251::byteFor(u'Ж'), 0xC6);
    EXPECT_EQ(cp1251::byteFor(u'ё'), 0xB8);
    EXPECT_EQ(cp1251::byteFor(u'і'), 0xB3);
    EXPECT_EQ(cp1251::byteFor(u'€'), 0x88);
    EXPECT_EQ(cp1251::byteFor(u'«'), 0xAB);
    EXPECT_EQ(cp1251::byteFor(u'—'), 0x97);
}

TEST(Cp1251, CharactersOutsideTheCodePageHaveNoByte) {
    EXPECT_FALSE(cp1251::byteFor(u'中'));
    EXPECT_FALSE(cp1251::byteFor(0xD83D)); // half of an emoji
    EXPECT_EQ(cp1251::fromUnicode(QString::fromUtf8("a中b")), "a?b");
}
