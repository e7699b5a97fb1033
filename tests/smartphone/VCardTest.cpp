#include "export/smartphone/VCard.h"
#include "core/Cp1251.h"

#include <gtest/gtest.h>

using namespace qb;

TEST(VCard, FoldsAt75OctetsNeverInsideACharacter) {
    // 40 Cyrillic letters: 80 octets of UTF-8 after "FN:".
    std::string name;
    for (int i = 0; i < 40; ++i)
        name += "Ж";
    const std::string folded = foldVCardLine("FN:" + name);
    std::size_t start = 0;
    std::string joined;
    while (start < folded.size()) {
        const std::size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = folded.substr(start, end - start);
        EXPECT_LE(line.size(), 75u);
        const std::string content = start == 0 ? line : line.substr(1);
        if (start > 0) {
            EXPECT_EQ(line[0], ' ');
        }
        // Each physical line holds whole characters: it starts on a lead byte.
        EXPECT_NE(static_cast<unsigned char>(content[0]) & 0xC0, 0x80);
        joined += content;
        start = end + 2;
    }
    EXPECT_EQ(joined, "FN:" + name);
    EXPECT_EQ(foldVCardLine("TEL:1"), "TEL:1\r\n");
}

TEST(VCard, EscapesAndCards) {
    EXPECT_EQ(escapeVCardValue("a,b;c\\d"), "a\\,b\\;c\\\\d");
    Phonebook phonebook;
    phonebook.entries = {
        {"+7916", cp1251::fromUnicode(QString::fromUtf8("Иванов, Иван"))}, {"112", ""}, {"", ""}};
    const VCardFile file = phonebookVCards(phonebook);
    EXPECT_EQ(file.contacts, 2);
    EXPECT_EQ(file.text,
              "BEGIN:VCARD\r\nVERSION:3.0\r\n"
              "FN:Иванов\\, Иван\r\nN:;Иванов\\, Иван;;;\r\nTEL;TYPE=CELL:+7916\r\n"
              "END:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:112\r\nN:;112;;;\r\nTEL;TYPE=CELL:112\r\n"
              "END:VCARD\r\n");
}
