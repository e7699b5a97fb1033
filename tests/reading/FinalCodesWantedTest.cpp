// How many final result codes each reply of the dialogue waits for: one per
// command sent since the previous reply.
#include "reading/DeleteOnPhone.h"
#include "reading/PhoneLine.h"
#include "reading/PhoneRead.h"

#include "ScriptedPhone.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qb;
using Wanted = std::vector<int>;

TEST(FinalCodesWantedTest, OneCodePerCommandSinceTheLastReply) {
    test::ScriptedPhone phone;
    PhoneLine line([&phone]() -> AtPort* { return &phone; });
    ASSERT_TRUE(line.exchange({"AT", "AT+CMGF=1", "AT+CSCS=UCS2", "AT+CPBS=\"MT\""}));
    ASSERT_TRUE(line.send("at+mmgl=\"ALL\""));
    ASSERT_TRUE(line.reply());
    // A reply with nothing sent since the last one waits for quiet alone.
    ASSERT_TRUE(line.reply());
    ASSERT_TRUE(line.send("AT"));
    // Commands left unanswered before a re-open are not counted after it.
    ASSERT_TRUE(line.reopen());
    ASSERT_TRUE(line.exchange({"AT"}));
    EXPECT_EQ(phone.finalCodesWanted, (Wanted{4, 1, 0, 1}));
    // Once the port is gone nothing is sent or read.
    phone.unplug();
    EXPECT_FALSE(line.send("AT"));
    EXPECT_FALSE(line.reply());
    EXPECT_EQ(phone.finalCodesWanted.size(), 4u);
}

TEST(FinalCodesWantedTest, WholeReadAndDeletion) {
    test::ScriptedPhone phone;
    phone.answer("at+mmgl=\"ALL\"",
                 "+MMGL: 3, \"REC READ\", \"+7916\"\r\n" + test::ucs2("Hi") +
                     "\r\n+MMGL: 4, \"REC UNREAD\", \"+7916\"\r\n" + test::ucs2("12") +
                     "\r\n+MMGL: 5, \"STO SENT\", \"+7916\"\r\n" + test::ucs2("OK") + "\r\nOK\r\n");
    phone.answer("AT+CPBR=?", "+CPBR: (1-250),50,14\r\nOK\r\n");
    QTemporaryDir dir;
    NullProgress progress;
    ReadResult result;
    Phonebook phonebook;
    ReadContext context{[&phone]() -> AtPort* { return &phone; }, progress, result, phonebook,
                        dir.path()};
    ASSERT_EQ(readPhone(context).kind, ReadOutcome::Kind::Finished);
    // Set-up, listing, AT and AT+CMGR= per received message, storage and
    // range together, the range alone, the entries.
    EXPECT_EQ(phone.finalCodesWanted, (Wanted{4, 1, 1, 1, 1, 1, 2, 1, 1}));

    phone.finalCodesWanted.clear();
    deleteOnPhone([&phone]() -> AtPort* { return &phone; }, progress, FolderKind::Inbox,
                  {{1, "3"}, {2, "4"}}, result);
    EXPECT_EQ(phone.finalCodesWanted, (Wanted{1, 1, 1, 1}));
}
