// Colours as text in the settings store: names of the table, "$" hex for the
// rest, numbers accepted on reading, and system colours taken from the
// desktop's palette.
#include "models/ColourText.h"

#include <gtest/gtest.h>

using namespace qb;

TEST(ColourText, EveryNamedColourRoundTripsByItsName) {
    ASSERT_EQ(colourNames().size(), 52u);
    for (const NamedColour& named : colourNames()) {
        EXPECT_EQ(colourText(named.value), QString::fromLatin1(named.name));
        EXPECT_EQ(parseColourText(QString::fromLatin1(named.name)), named.value) << named.name;
    }
    EXPECT_EQ(colourText(Colour::Lime), "clLime");
    EXPECT_EQ(colourText(0x00F0CAA6), "clSkyBlue");
    EXPECT_EQ(colourText(0xFF000008), "clWindowText");
    EXPECT_EQ(colourText(0xFF00001E), "clMenuBar");
    EXPECT_EQ(parseColourText(QStringLiteral("CLLIME")), Colour::Lime); // names in any case
    EXPECT_EQ(basicColourNames().size(), 16u);
    EXPECT_EQ(systemColourNames().size(), 30u);
}

TEST(ColourText, UnnamedColoursAreEightUpperCaseHexDigits) {
    for (const ColourValue colour : {0x00FF8000u, 0x00000001u, 0x00ABCDEFu, 0xFF000019u}) {
        const QString text = colourText(colour);
        EXPECT_EQ(text.size(), 9);
        EXPECT_EQ(text, text.toUpper());
        EXPECT_EQ(parseColourText(text), colour) << text.toStdString();
    }
    EXPECT_EQ(colourText(0x00FF8000), "$00FF8000");
    EXPECT_EQ(colourText(0xFF000019), "$FF000019"); // system colour 25 has no name
}

TEST(ColourText, ReadingAcceptsDecimalAndDollarHexOnly) {
    EXPECT_EQ(parseColourText(QStringLiteral("65280")), Colour::Lime);
    EXPECT_EQ(parseColourText(QStringLiteral("-16777208")), 0xFF000008u); // clWindowText
    EXPECT_EQ(parseColourText(QStringLiteral("$ff")), 0xFFu);
    for (const char* bad : {"", "lime", "$", "$123456789", "$-1", "$ 1", "0x10", "12a"})
        EXPECT_FALSE(parseColourText(QString::fromLatin1(bad))) << bad;
}

TEST(ColourText, PaintingColoursComeFromValuesOrThePalette) {
    QPalette desktop;
    desktop.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    desktop.setColor(QPalette::Active, QPalette::Text, QColor(4, 5, 6));
    const QColor fallback(7, 8, 9);
    EXPECT_EQ(resolveColour(0x00FF8000, desktop, fallback), QColor(0x00, 0x80, 0xFF)); // BGR
    EXPECT_EQ(resolveColour(0xFF000005, desktop, fallback), QColor(1, 2, 3));          // clWindow
    EXPECT_EQ(resolveColour(0xFF000008, desktop, fallback), QColor(4, 5, 6)); // clWindowText
    EXPECT_EQ(resolveColour(0xFF000019, desktop, fallback), fallback);        // no such role
    EXPECT_EQ(resolveColour(0xFF000120, desktop, fallback), fallback);
    EXPECT_EQ(resolveColour(Colour::Default, desktop, fallback), fallback);
    EXPECT_EQ(resolveColour(Colour::None, desktop, fallback), fallback);
    EXPECT_EQ(colourValue(QColor(0x00, 0x80, 0xFF)), 0x00FF8000u);
    EXPECT_TRUE(isSystemColour(0xFF000000));
    EXPECT_FALSE(isSystemColour(Colour::Default));
}
