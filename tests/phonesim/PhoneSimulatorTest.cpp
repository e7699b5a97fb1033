#include "tools/phonesim/PhoneSimulator.h"
#include "core/LineList.h"

#include <gtest/gtest.h>

#include <set>

namespace qb {
namespace {

const char Content[] = R"([messages]
3|REC UNREAD|+79161234567|2009/08/18,19:11:45|Мама
7|STO UNSENT|89032223344||first\nsecond
12|STO SENT|+79161234567||Hi $ € 😊
15|REC READ|900|2009/12/01,08:05:03|

[phonebook]
+79161234567|Мама
900|Bank
)";

class PhoneSimulatorTest : public ::testing::Test {
  protected:
    PhoneSimulator phone{parsePhoneContent(Content)};

    // The reply as the program splits it into lines.
    LineList ask(const std::string& command) {
        LineList lines;
        lines.add(phone.feed(command + "\r\n"));
        return lines;
    }
};

TEST_F(PhoneSimulatorTest, EchoesTheCommandThenAnswersInVerboseLayout) {
    EXPECT_EQ(phone.feed("AT\r\n"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(phone.feed("AT+CPBR=?\r\n"), "AT+CPBR=?\r\r\n+CPBR: (1-250),40,24\r\n\r\nOK\r\n");
    // The program sends its set-up commands in one go and reads once.
    const std::string setup = phone.feed("AT\r\nAT+CMGF=1\r\nAT+CSCS=UCS2\r\nAT+CPBS=\"MT\"\r\n");
    EXPECT_EQ(setup, "AT\r\r\nOK\r\nAT+CMGF=1\r\r\nOK\r\nAT+CSCS=UCS2\r\r\nOK\r\n"
                     "AT+CPBS=\"MT\"\r\r\nOK\r\n");
    // Bytes arriving one at a time make the same answer.
    std::string slow;
    for (const char c : std::string("AT\r\n"))
        slow += phone.feed(std::string(1, c));
    EXPECT_EQ(slow, "AT\r\r\nOK\r\n");
}

TEST_F(PhoneSimulatorTest, UnknownCommandsAndBadArgumentsGiveError) {
    EXPECT_EQ(ask("AT+XYZ").lineView(1), "ERROR");
    EXPECT_EQ(ask("AT+CMGF=7").lineView(1), "ERROR");
    EXPECT_EQ(ask("AT+CSCS=\"KOI8-R\"").lineView(1), "ERROR");
    ask("AT+CMGF=0");
    EXPECT_EQ(ask("at+mmgl=\"ALL\"").lineView(1), "ERROR"); // a status name needs text mode
}

TEST_F(PhoneSimulatorTest, ListingHasHeaderThenHexTextPerMessage) {
    ask("AT+CMGF=1");
    ask("AT+CSCS=UCS2");
    const LineList l = ask("at+mmgl=\"ALL\"");
    EXPECT_EQ(l.lineView(0), "at+mmgl=\"ALL\"");
    EXPECT_EQ(l.lineView(1), "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"");
    EXPECT_EQ(l.lineView(2), "041C0430043C0430");
    EXPECT_EQ(l.lineView(3), "+MMGL: 7, \"STO UNSENT\", \"89032223344\"");
    EXPECT_EQ(l.lineView(4),
              "00660069007200730074000D000A007300650063006F006E0064"); // CR LF inside
    EXPECT_EQ(l.lineView(5), "+MMGL: 12, \"STO SENT\", \"+79161234567\"");
    EXPECT_EQ(l.lineView(6), "0048006900200024002020AC0020D83DDE0A"); // € and a surrogate pair
    EXPECT_EQ(l.lineView(7), "+MMGL: 15, \"REC READ\", \"900\"");
    EXPECT_EQ(l.lineView(8), ""); // an empty text is an empty line
    EXPECT_EQ(l.lineView(l.count() - 1), "OK");
    // Motorola's listing leaves unread messages unread; the letter case of the command is free.
    EXPECT_EQ(ask("AT+MMGL=\"all\"").lineView(1), "+MMGL: 3, \"REC UNREAD\", \"+79161234567\"");
}

TEST_F(PhoneSimulatorTest, ReadingGivesYearFirstDateAndMarksRead) {
    ask("AT+CMGF=1");
    ask("AT+CSCS=UCS2");
    const LineList r = ask("AT+CMGR=3");
    EXPECT_EQ(r.lineView(1), "+CMGR: \"REC UNREAD\", \"+79161234567\", \"2009/8/18,19:11:45\"");
    EXPECT_EQ(r.lineView(2), "041C0430043C0430");
    EXPECT_EQ(ask("AT+CMGR=15").lineView(1),
              "+CMGR: \"REC READ\", \"900\", \"2009/12/1,08:05:03\"");
    EXPECT_EQ(ask("at+mmgl=\"ALL\"").lineView(1), "+MMGL: 3, \"REC READ\", \"+79161234567\"");
    EXPECT_EQ(ask("AT+CMGR=4").lineView(1), "+CMS ERROR: 321");
}

TEST_F(PhoneSimulatorTest, PhonebookEntriesHaveTheNameSixCharactersAfterTheNumber) {
    ask("AT+CSCS=UCS2");
    const LineList l = ask("at+cpbr=1,250");
    ASSERT_EQ(l.count(), 6); // echo, entry, empty line, entry, empty line, OK
    EXPECT_EQ(l.lineView(1), "+CPBR: 1,\"+79161234567\",145,041C0430043C0430");
    EXPECT_EQ(l.lineView(2), "");
    EXPECT_EQ(l.lineView(3), "+CPBR: 2,\"900\",129,00420061006E006B");
    const std::string entry(l.lineView(3));
    EXPECT_EQ(entry.substr(entry.rfind('"') + 6), "00420061006E006B");
    EXPECT_EQ(ask("AT+CPBS?").lineView(1), "+CPBS: \"ME\",2,250");
}

TEST_F(PhoneSimulatorTest, DeletionRemovesTheMessageAndAcceptsABlankIndex) {
    ask("AT+CMGF=0");
    EXPECT_EQ(ask("AT+CMGD= 12").lineView(1), "OK");
    EXPECT_EQ(ask("AT+CMGD=12").lineView(1), "+CMS ERROR: 321");
    EXPECT_EQ(ask("AT+CMGD=3,0").lineView(1), "OK");
    std::set<int> left;
    for (const auto& m : phone.content().messages)
        left.insert(m.index);
    EXPECT_EQ(left, (std::set<int>{7, 15}));
}

TEST_F(PhoneSimulatorTest, PduListingStatesTheTpduLength) {
    ask("AT+CMGF=0");
    const LineList l = ask("AT+CMGL=4");
    EXPECT_EQ(l.lineView(1).substr(0, 12), "+CMGL: 3,0,,");
    const int length = std::stoi(std::string(l.lineView(1).substr(12)));
    const std::string pdu(l.lineView(2));
    const int scaOctets = std::stoi(pdu.substr(0, 2), nullptr, 16);
    EXPECT_EQ(static_cast<int>(pdu.size()) / 2 - 1 - scaOctets, length);
    // The standard listing marks what it lists as read.
    EXPECT_EQ(ask("AT+CMGL=4").lineView(1).substr(0, 12), "+CMGL: 3,1,,");
}

TEST(PhoneContentTest, SampleFileHasEveryStatusAndTheAdvertisedTexts) {
    const PhoneContent c = loadPhoneContent(QUILLBOX_SAMPLE_PHONE);
    EXPECT_GE(c.messages.size(), 30u);
    EXPECT_GE(c.contacts.size(), 20u);
    std::set<SmsStatus> statuses;
    bool hasLong = false, hasMultiLine = false, hasEmpty = false;
    for (const auto& m : c.messages) {
        statuses.insert(m.status);
        hasLong |= m.text.size() == 160;
        hasMultiLine |= m.text.find("\r\n") != std::string::npos;
        hasEmpty |= m.text.empty();
    }
    EXPECT_EQ(statuses.size(), 4u);
    EXPECT_TRUE(hasLong && hasMultiLine && hasEmpty);
    EXPECT_FALSE(c.messages.front().text.empty()) << "an empty first text looks like no messages";
}

TEST(PhoneContentTest, ErrorsNameTheLine) {
    EXPECT_THROW(parsePhoneContent("[messages]\n1|REC LOST|900||x\n"), ContentError);
    try {
        parsePhoneContent("[messages]\n\n1|REC READ|900|2009/1/2|x\n");
        FAIL();
    } catch (const ContentError& e) {
        EXPECT_STREQ(e.what(), "line 3: date must read YYYY/MM/DD,hh:mm:ss");
    }
}

} // namespace
} // namespace qb
