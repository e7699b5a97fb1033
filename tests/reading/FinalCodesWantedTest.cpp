// How many final result codes each reply of the dialogue waits for: one per
// command sent since the previous reply.
#include "reading/DeleteOnPhoneJob.h"
#include "reading/PhoneLine.h"
#include "reading/PhoneReadJob.h"

#include "ScriptedPhone.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qb;
using Wanted = std::vector<int>;

namespace {

// Runs one exchange to its end; false when the line was lost instead.
bool exchange(PhoneLine& line, const std::vector<std::string>& texts) {
    std::vector<AtCommand> commands;
    for (const std::string& text : texts)
        commands.push_back({text, {}, OnError::Stop});
    bool answered = false;
    QSignalSpy lost(&line, &PhoneLine::lost);
    line.exchange(commands, [&](const Reply&) { answered = true; });
    for (int i = 0; i < 100 && !answered && lost.isEmpty(); ++i)
        lost.wait(10);
    return answered;
}

} // namespace

TEST(FinalCodesWantedTest, OneCodePerCommandSinceTheLastReply) {
    test::ScriptedPhone phone;
    PhoneLine line(&phone);
    Wanted wanted;
    QObject::connect(&line, &PhoneLine::replyAwaited, [&](int codes) { wanted.push_back(codes); });
    ASSERT_TRUE(exchange(line, {"AT", "AT+CMGF=1", "AT+CSCS=UCS2", "AT+CPBS=\"MT\""}));
    ASSERT_TRUE(exchange(line, {"at+mmgl=\"ALL\""}));
    // A reply with nothing sent since the last one waits for quiet alone.
    ASSERT_TRUE(exchange(line, {}));
    ASSERT_TRUE(line.reopen());
    ASSERT_TRUE(exchange(line, {"AT"}));
    EXPECT_EQ(wanted, (Wanted{4, 1, 0, 1}));
    // Once the port is gone nothing is sent or read.
    phone.unplug();
    phone.sent.clear();
    EXPECT_FALSE(exchange(line, {"AT"}));
    EXPECT_TRUE(phone.sent.empty());
    EXPECT_EQ(wanted.size(), 4u);
}

TEST(FinalCodesWantedTest, WholeReadAndDeletion) {
    test::ScriptedPhone phone;
    phone.answer("at+mmgl=\"ALL\"",
                 "+MMGL: 3, \"REC READ\", \"+7916\"\r\n" + test::ucs2("Hi") +
                     "\r\n+MMGL: 4, \"REC UNREAD\", \"+7916\"\r\n" + test::ucs2("12") +
                     "\r\n+MMGL: 5, \"STO SENT\", \"+7916\"\r\n" + test::ucs2("OK") + "\r\nOK\r\n");
    phone.answer("AT+CPBR=?", "+CPBR: (1-250),50,14\r\nOK\r\n");
    QTemporaryDir dir;
    ReadResult result;
    Phonebook phonebook;
    Wanted wanted;
    PhoneReadJob read({&phone, result, phonebook, dir.path()});
    ASSERT_TRUE(test::runToEnd(read, &wanted));
    ASSERT_EQ(read.outcome().kind, ReadOutcome::Kind::Finished);
    // Set-up, listing, AT and AT+CMGR= per received message, storage and
    // range together, the range alone, the entries.
    EXPECT_EQ(wanted, (Wanted{4, 1, 1, 1, 1, 1, 2, 1, 1}));

    wanted.clear();
    DeleteOnPhoneJob deletion(&phone, FolderKind::Inbox, {{1, "3"}, {2, "4"}}, result);
    ASSERT_TRUE(test::runToEnd(deletion, &wanted));
    // The bare AT that brings the phone in step, then a pair per row.
    EXPECT_EQ(wanted, (Wanted{1, 1, 1, 1, 1}));
}
