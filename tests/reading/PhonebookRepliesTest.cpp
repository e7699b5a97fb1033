// The +CPBR range and entry replies.
#include "reading/PhonebookReplies.h"

#include "Captures.h"

#include <gtest/gtest.h>

using namespace qb;

namespace {

LineList lines(const std::string& reply) {
    LineList list;
    list.add(reply);
    return list;
}

} // namespace

TEST(CpbrRange, MotorolaReplies) {
    EXPECT_EQ(parsePhonebookRangeEnd("AT+CPBR=?\r\n+CPBR: (1-250),50,14,,,,40,20\r\n\r\nOK\r\n"),
              "250");
    EXPECT_EQ(parsePhonebookRangeEnd("+CPBR: (1-250),50,14"), "250");
    // An L6's SIM phonebook numbered from 501: the capture still starts at 1.
    EXPECT_EQ(parsePhonebookRangeEnd("AT+CPBR=?\r\n+CPBR: (501-750),40,15\r\nOK\r\n"), "750");
}

TEST(CpbrRange, RepliesWithoutTheRange) {
    EXPECT_EQ(parsePhonebookRangeEnd("AT+CPBR=?\r\n+CPBR: (250),50\r\nOK\r\n"), "250"); // no "-"
    for (const char* reply :
         {"", "AT+CPBR=?\r\nERROR\r\n",
          "AT+CPBR=?\r\n+CPBR: 1-250\r\n", // no ")"
          "AT+CPBR=?\r\n+CPBR: 250),50\r\nOK\r\n", "+CPBR: (1-2),-3", "+CPBR: (1-)",
          "+CPBR: (1-\r\nAT+CMGD=1\r\n)"}) // never two commands in one
        EXPECT_EQ(parsePhonebookRangeEnd(reply), std::nullopt) << reply;
}

TEST(CpbrEntries, BlankLineAfterEveryEntry) {
    const auto entries =
        parsePhonebookEntries(lines("at+cpbr=1,250\r\n"
                                    "+CPBR: 1,\"+79161234567\",145,041C0430043C0430\r\n\r\n"
                                    "+CPBR: 2,\"112\",129,005304110421\r\n\r\n"
                                    "OK\r\n"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, "+79161234567");
    EXPECT_EQ(entries[0].name, "\xCC\xE0\xEC\xE0");
    EXPECT_EQ(entries[1].number, "112");
    EXPECT_EQ(entries[1].name, "S\xC1\xD1");
}

TEST(CpbrEntries, WithoutBlankLinesEveryOtherEntryIsSkipped) {
    const auto entries = parsePhonebookEntries(lines("at+cpbr=1,250\r\n"
                                                     "+CPBR: 1,\"1\",129,0041\r\n"
                                                     "+CPBR: 2,\"2\",129,0042\r\n"
                                                     "+CPBR: 3,\"3\",129,0043\r\n"
                                                     "OK\r\n"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "A");
    EXPECT_EQ(entries[1].name, "C");
}

TEST(CpbrEntries, LineWithoutQuotationMarksReusesThePreviousPositions) {
    const auto entries = parsePhonebookEntries(lines("at+cpbr=1,250\r\n"
                                                     "+CPBR: 1,\"12\",129,0041\r\n\r\n"
                                                     "+CPBR: 2,34,129,0042\r\n\r\nOK\r\n"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].number, "4,");
}

TEST(CpbrEntries, NothingButEchoAndResultCode) {
    EXPECT_TRUE(parsePhonebookEntries(lines("at+cpbr=1,\r\nERROR\r\n")).empty());
    EXPECT_TRUE(parsePhonebookEntries(lines("")).empty());
}

TEST(CpbrEntries, MotorolaEightBitHexName) {
    // Read while UCS2 was selected, the name still came as 8-bit hex.
    const auto entries =
        parsePhonebookEntries(lines(test::capturedReply("cpbr-motorola-8bit-hex-name.dump")));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].number, "030450566735");
    EXPECT_EQ(entries[0].name, "Virchow Klinikum St. 31");
}

TEST(CpbrEntries, QuotedUcs2NameWithEmptyNumberAndType) {
    const auto entries =
        parsePhonebookEntries(lines(test::capturedReply("cpbr-ucs2-quoted-name.dump")));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].number, "");
    EXPECT_EQ(entries[0].name, "Stanley Paul");
}

TEST(CpbrEntries, EveryNameFormGivesTheSameName) {
    const auto entries =
        parsePhonebookEntries(lines("at+cpbr=1,250\r\n"
                                    "+CPBR: 2,\"2\",129,\"041804320430043D\"\r\n\r\n"
                                    "+CPBR: 3,\"3\",129,C8E2E0ED00\r\n\r\n"
                                    "+CPBR: 4,\"4\",129,041804320430043D\r\n\r\n"
                                    "+CPBR: 5,\"5\",145,\"C8E2E0ED00\",0\r\n\r\n"
                                    "+CPBR: 6,\"6\",129,\"Ivan\"\r\n\r\n" // no form: positional
                                    "+CPBR: 7,\"7\",129,0041004200\r\n\r\n"
                                    "OK\r\n"));
    ASSERT_EQ(entries.size(), 6u);
    const std::string ivan = "\xC8\xE2\xE0\xED";
    EXPECT_EQ(entries[0].name, ivan);
    EXPECT_EQ(entries[1].name, ivan); // 8-bit bytes read as Windows-1251
    EXPECT_EQ(entries[2].name, ivan);
    EXPECT_EQ(entries[3].name, ivan);
    EXPECT_EQ(entries[4].name, "");
    EXPECT_EQ(entries[5].name, "AB"); // UCS2 with zero bytes throughout, not 8-bit
}
