// The simulated standard phone: PDU mode, SIM and phone storages, long
// messages, status reports and the quirks of real phones' PDU mode.
#include "core/LineList.h"
#include "tools/phonesim/PhoneSimulator.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

const char Content[] = R"([phone]
kind = standard
manufacturer = Nokia
model = Nokia 6230i
message capacity = 150
sim capacity = 30

[messages SM]
2|REC UNREAD|+79161234567|2009/05/02,10:15:00|SIM one
4|REPORT|+79161234567|2009/05/02,10:16:00|
9,7|REC READ|+79032223344|2009/05/04,20:00:00|Long message in two parts

[messages]
1|REC READ|+447700900123|2009/05/06,16:45:00|phone one
3|STO SENT|+447700900123||sent one

[phonebook SM]
+79161234567|Мама

[phonebook]
+447700900123|Anna
)";

class StandardPhone : public ::testing::Test {
  protected:
    PhoneSimulator phone{parsePhoneContent(Content)};

    LineList ask(const std::string& command) {
        LineList lines;
        lines.add(phone.feed(command + "\r\n"));
        return lines;
    }
    // The header lines of a listing.
    std::vector<std::string> headers(const std::string& command) {
        std::vector<std::string> found;
        const LineList l = ask(command);
        for (int i = 0; i < l.count(); ++i)
            if (l.lineView(i).starts_with("+CMGL:"))
                found.emplace_back(l.lineView(i));
        return found;
    }
};

TEST_F(StandardPhone, AnswersIdentificationBareAndKnowsNoMotorolaCommands) {
    EXPECT_EQ(ask("AT+CGMI").lineView(1), "Nokia");
    EXPECT_EQ(ask("AT+CGMM").lineView(1), "Nokia 6230i");
    ask("AT+CMGF=1");
    EXPECT_EQ(ask("at+mmgl=\"ALL\"").lineView(1), "ERROR");
}

TEST_F(StandardPhone, ListsEachStorageAndBothThroughMt) {
    EXPECT_EQ(ask("AT+CPMS=?").lineView(1),
              R"(+CPMS: ("ME","SM","MT"),("ME","SM","MT"),("ME","SM","MT"))");
    EXPECT_EQ(ask("AT+CPMS=\"SM\"").lineView(1), "+CPMS: 4,30,4,30,4,30");
    std::vector<std::string> sim = headers("AT+CMGL=4");
    ASSERT_EQ(sim.size(), 4u);
    EXPECT_TRUE(sim[0].starts_with("+CMGL: 2,0,,"));
    EXPECT_TRUE(sim[1].starts_with("+CMGL: 4,1,,25")); // the status report
    EXPECT_TRUE(sim[2].starts_with("+CMGL: 7,1,,"));   // part 2
    EXPECT_TRUE(sim[3].starts_with("+CMGL: 9,1,,"));   // part 1
    EXPECT_EQ(ask("AT+CPMS=\"ME\"").lineView(1), "+CPMS: 2,150,2,150,2,150");
    EXPECT_EQ(headers("AT+CMGL=4").size(), 2u);
    // "MT" numbers the SIM's messages after the phone's memory.
    EXPECT_EQ(ask("AT+CPMS=\"MT\"").lineView(1), "+CPMS: 6,180,6,180,6,180");
    const std::vector<std::string> both = headers("AT+CMGL=4");
    ASSERT_EQ(both.size(), 6u);
    EXPECT_TRUE(both[2].starts_with("+CMGL: 152,1,,"));
    EXPECT_EQ(ask("AT+CMGR=152").lineView(1).substr(0, 9), "+CMGR: 1,");
    EXPECT_EQ(ask("AT+CMGR=2").lineView(1), "+CMS ERROR: 321");
}

TEST_F(StandardPhone, PartsCarryTheirHeaderAndServiceCentre) {
    ask("AT+CPMS=\"SM\"");
    const LineList first = ask("AT+CMGR=9");
    const LineList second = ask("AT+CMGR=7");
    // Another service centre for the second part, a header with an 8-bit reference.
    EXPECT_TRUE(first.lineView(2).starts_with("07919761989901F044")) << first.lineView(2);
    EXPECT_TRUE(second.lineView(2).starts_with("07919761989901F144")) << second.lineView(2);
    EXPECT_NE(first.lineView(2).find("050003410201"), std::string::npos);
    EXPECT_NE(second.lineView(2).find("050003410202"), std::string::npos);
}

TEST_F(StandardPhone, DeletesInTheStorageSelected) {
    ask("AT+CPMS=\"SM\"");
    EXPECT_EQ(ask("AT+CMGD=1").lineView(1), "+CMS ERROR: 321"); // index 1 is the phone's
    EXPECT_EQ(ask("AT+CMGD=2").lineView(1), "OK");
    ask("AT+CPMS=\"MT\"");
    EXPECT_EQ(ask("AT+CMGD=157").lineView(1), "OK"); // the SIM's part at 7
    EXPECT_EQ(ask("AT+CMGD=1").lineView(1), "OK");
    EXPECT_EQ(phone.content().messages.size(), 3u);
}

TEST_F(StandardPhone, PhonebooksOfSimAndPhoneAndBothThroughMt) {
    ask("AT+CSCS=\"UCS2\"");
    ask("AT+CPBS=\"SM\"");
    EXPECT_EQ(ask("AT+CPBR=1,50").lineView(1),
              "+CPBR: 1,\"+79161234567\",145,\"041C0430043C0430\"");
    ask("AT+CPBS=\"ME\"");
    EXPECT_EQ(ask("AT+CPBR=1,50").lineView(1),
              "+CPBR: 1,\"+447700900123\",145,\"0041006E006E0061\"");
    ask("AT+CPBS=\"MT\"");
    const LineList both = ask("AT+CPBR=1,50");
    EXPECT_EQ(both.lineView(2),
              "+CPBR: 2,\"+79161234567\",145,\"041C0430043C0430\""); // no blank lines
    ask("AT+CMEE=1");
    EXPECT_EQ(ask("AT+CPBR=60,70").lineView(1), "+CME ERROR: 22");
}

TEST(StandardPhoneQuirks, PduModeAsRealPhonesBendIt) {
    std::string content = Content;
    content.replace(content.find("sim capacity = 30"), 17,
                    "sim capacity = 30\npdu padding = 2\npdu trailing comma = yes\n"
                    "read length = no\nlisting alpha = no\nlisting indexes = order\nucs2 = no");
    PhoneSimulator phone(parsePhoneContent(content));
    auto ask = [&](const std::string& command) {
        LineList l;
        l.add(phone.feed(command + "\r\n"));
        return l;
    };
    ask("AT+CPMS=\"SM\"");
    const LineList listing = ask("AT+CMGL=4");
    EXPECT_TRUE(listing.lineView(1).starts_with("+CMGL: 1,0,")) << listing.lineView(1); // not 2
    EXPECT_EQ(listing.lineView(1).find(",,"), std::string::npos);                       // no alpha
    EXPECT_TRUE(listing.lineView(2).ends_with("FFFF,0")) << listing.lineView(2);
    EXPECT_TRUE(listing.lineView(7).starts_with("+CMGL: 4,1,")) << listing.lineView(7);
    EXPECT_EQ(ask("AT+CMGR=2").lineView(1), "+CMGR: 1"); // the real location, no length
    EXPECT_EQ(ask("AT+CSCS=\"UCS2\"").lineView(1), "ERROR");
    EXPECT_EQ(ask("AT+CSCS=?").lineView(1), "+CSCS: (\"8859-1\",\"GSM\",\"IRA\")");
}

TEST(StandardPhoneContent, LongMessagesAndReports) {
    const PhoneContent c = parsePhoneContent(Content);
    ASSERT_EQ(c.messages.size(), 6u);
    const SimMessage& second = c.messages[3];
    EXPECT_EQ(second.index, 7);
    EXPECT_EQ(second.storage, "SM");
    ASSERT_TRUE(second.part);
    EXPECT_EQ(second.part->sequence, 2);
    EXPECT_EQ(second.part->count, 2);
    EXPECT_EQ(c.messages[2].text + second.text, "Long message in two parts");
    EXPECT_TRUE(c.messages[1].statusReport);
    EXPECT_EQ(c.simContacts.size(), 1u);

    EXPECT_THROW(parsePhoneContent("[messages XX]\n"), ContentError);
    EXPECT_THROW(parsePhoneContent("[messages]\n1,2|REPORT|900|2009/1/2,0:0:0|\n"), ContentError);
    EXPECT_THROW(parsePhoneContent("[messages]\n1,x|REC READ|900|2009/1/2,0:0:0|ab\n"),
                 ContentError);
    // 68 UCS2 code units do not fit one part.
    EXPECT_THROW(
        parsePhoneContent("[messages]\n1,-|REC READ|900||" + std::string(68 * 2, 'x') + "Ж\n"),
        ContentError);
    // The same index in the SIM and in the phone is two messages.
    EXPECT_NO_THROW(
        parsePhoneContent("[messages]\n1|REC READ|9||a\n[messages SM]\n1|REC READ|9||b\n"));
    EXPECT_THROW(parsePhoneContent("[messages SM]\n1|REC READ|9||a\n1,2|REC READ|9||bc\n"),
                 ContentError);
}

TEST(StandardPhoneContent, SampleFileHasEveryKindOfMessage) {
    const PhoneContent c = loadPhoneContent(QUILLBOX_STANDARD_PHONE);
    EXPECT_EQ(c.kind, PhoneKind::Standard);
    bool sim = false, report = false, parts = false, missing = false;
    int lena = 0;
    for (const SimMessage& m : c.messages) {
        sim |= m.storage == "SM";
        report |= m.statusReport;
        parts |= m.part && m.part->ucs2;
        missing |=
            m.part && m.part->count == 3 && m.number == "+79264445566" && m.part->sequence == 3;
        lena += m.number == "+79032223344" && m.part;
    }
    EXPECT_TRUE(sim && report && parts && missing);
    EXPECT_EQ(lena, 3); // a long message as three parts
    EXPECT_FALSE(c.simContacts.empty());
    EXPECT_FALSE(c.contacts.empty());
}

} // namespace
} // namespace qb
