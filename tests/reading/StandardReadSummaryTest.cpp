// What a standard phone's read leaves out, against a scripted phone: a
// delivery report counted, a PDU that cannot be decoded named by its place,
// a storage the SIM would not give named with the phone's error; the read
// goes on past all three.
#include "reading/StandardReadJob.h"

#include "ScriptedPhone.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace qb;

namespace {

// "hellohello" from 18005551212 and a delivery report, from ModemManager's SMS
// part tests (GPL-2.0-or-later), as in data/pdus.
const std::string Hello =
    "07912143658709F1040B818100551512F20000111010214365000AE8329BFD4697D9EC37";
const std::string Report = "07914356060013F1065A098136397339F7219011700463802190117004638030";

std::string listed(int index, int octets, const std::string& pdu) {
    return "+CMGL: " + std::to_string(index) + ",1,," + std::to_string(octets) + "\r\n" + pdu +
           "\r\n";
}

} // namespace

TEST(StandardReadSummary, CountsReportsNamesWhatCannotBeDecodedAndGoesOn) {
    test::ScriptedPhone phone;
    phone.answer("AT+CPMS=?", "+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")\r\nOK\r\n");
    phone.answer("AT+CPMS?", "+CPMS: \"ME\",3,100,\"ME\",3,100,\"ME\",3,100\r\nOK\r\n");
    phone.answer("AT+CPMS=\"SM\"", "+CMS ERROR: 310\r\n"); // no SIM
    phone.answer("AT+CPMS=\"ME\"", "+CPMS: 3,100,3,100,3,100\r\nOK\r\n");
    phone.answer("AT+CMGL=4",
                 listed(1, 28, Hello) + listed(2, 24, Report) + listed(3, 9, "0004FF") + "OK\r\n");
    phone.answer("AT+CMGR=3", "+CMGR: 1,,9\r\n0004FF\r\nOK\r\n");
    QTemporaryDir dir;
    StandardReadJob job({&phone, {}, {}, dir.path(), test::quickLimits()});
    ASSERT_TRUE(test::runToEnd(job));

    const ReadOutcome& outcome = job.outcome();
    ASSERT_EQ(outcome.kind, ReadOutcome::Kind::Finished);
    ASSERT_TRUE(outcome.read);
    ASSERT_EQ(outcome.read->inbox.size(), 1u);
    EXPECT_EQ(outcome.read->inbox[0].text, "hellohello");
    EXPECT_EQ(outcome.read->inbox[0].number, "18005551212");
    EXPECT_EQ(outcome.leftOut.statusReports, 1);
    ASSERT_EQ(outcome.leftOut.undecodable.size(), 1);
    EXPECT_TRUE(outcome.leftOut.undecodable[0].startsWith(QStringLiteral("ME3: ")));
    EXPECT_EQ(outcome.leftOut.unavailable, QStringList({QStringLiteral("SM: +CMS ERROR: 310")}));
    EXPECT_EQ(outcome.appended, (AppendedCounts{1, 0, 0}));
    // Chosen for its listing, then again as the phone's own choice put back.
    EXPECT_EQ(std::count(phone.sent.begin(), phone.sent.end(), "AT+CPMS=\"ME\""), 2);
}
