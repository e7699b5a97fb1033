// A phone that refuses, never answers, never stops or answers unfittingly ends
// the read with what went wrong, and nothing is written: the archive, the
// phonebook and the phone folders keep the previous read.
#include "PhoneReadFixture.h"

#include <QTimer>

using namespace qb;
using namespace qb::test;
using FailureKind = PhoneFailure::Kind;

namespace {

const std::string ReadHi = "+CMGR: \"REC UNREAD\", \"+79161234567\", \"2005/1/2,9:5:3\"\r\n"
                           "0048\r\nOK\r\n";

class PhoneReadFailureTest : public PhoneReadTest {
  protected:
    void SetUp() override {
        PhoneReadTest::SetUp();
        phone.answer(Echo, listing({Unread3, ucs2("Hi"), Sent12, ucs2("Yes")}));
        phone.answer("AT+CMGR=3", ReadHi);
        result.outbox.assign(1, {});
        result.outbox[0].text = "earlier";
        phonebook = {{{"+7", "A"}}};
    }

    // The outcome of a read that must fail, checked to have changed nothing.
    PhoneFailure failedRead() {
        const ReadResult before = result;
        const ReadOutcome outcome = read();
        EXPECT_EQ(outcome.kind, Kind::PhoneFailed);
        EXPECT_TRUE(noArchiveFiles());
        EXPECT_EQ(result.outbox.at(0).text, "earlier");
        EXPECT_EQ(result.inbox.size(), before.inbox.size());
        EXPECT_EQ(result.outbox.size(), 1u);
        EXPECT_EQ(phonebook.entries.size(), 1u);
        EXPECT_FALSE(progress.visible);
        return outcome.phoneFailure.value_or(PhoneFailure{});
    }
};

} // namespace

TEST_F(PhoneReadFailureTest, ErrorsEndTheReadNamingTheCommandAndTheNumber) {
    struct Case {
        std::string command;
        std::string error;
        std::optional<int> number;
    };
    const Case cases[] = {
        {"AT+CMGF=1", "ERROR", std::nullopt},
        {"AT+CPBS=\"MT\"", "+CME ERROR: 3", 3},
        {Echo, "+CMS ERROR: 321", 321},
        {"AT+CMGR=3", "+CMS ERROR: 500", 500},
        {"at+cpbr=1,250", "+CME ERROR: 100", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        SetUp();
        phone.answer(c.command, c.error + "\r\n");
        const PhoneFailure failure = failedRead();
        EXPECT_EQ(failure.kind, FailureKind::Refused);
        EXPECT_EQ(failure.command, c.command);
        EXPECT_EQ(failure.errorLine, c.error);
        EXPECT_EQ(failure.errorNumber, c.number);
        // Nothing is sent after the refused command's group.
        EXPECT_TRUE(std::find(phone.sent.begin(), phone.sent.end(), c.command) != phone.sent.end());
        if (c.command != "at+cpbr=1,250") {
            EXPECT_EQ(std::count(phone.sent.begin(), phone.sent.end(), "at+cpbr=1,250"), 0);
        }
        phone.answer(c.command, "OK\r\n");
    }
}

// Without a range the phonebook is asked for from 1 with no end, and an
// error then only says there is nothing to read; so does "not found".
TEST_F(PhoneReadFailureTest, PhonebookRangeFallbackTakesErrorsAsAnswers) {
    phone.answer("AT+CPBR=?", "ERROR\r\n");
    phone.answer("at+cpbr=1,", "ERROR\r\n");
    EXPECT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(phone.sent.back(), "at+cpbr=1,");
    EXPECT_EQ(file("Phonebook.pbk"), "3\r\n+7\r\nA\r\n\r\n");

    SetUp();
    phone.answer("at+cpbr=1,250", "+CME ERROR: 22\r\n");
    EXPECT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(phonebook.entries.size(), 1u);
}

TEST_F(PhoneReadFailureTest, SilentEndlessOrOverlongPhoneEndsWithItsBound) {
    phone.silent = true;
    PhoneFailure failure = failedRead();
    EXPECT_EQ(failure.kind, FailureKind::NoAnswer);
    EXPECT_EQ(failure.command, "AT");
    EXPECT_EQ(failure.limitMs, 300);

    phone.silent = false;
    std::string endless;
    for (int i = 1; i <= 50; ++i)
        endless += "+MMGL: " + std::to_string(i) + ", \"REC READ\", \"+7\"\r\n0041\r\n";
    phone.answer(Echo, endless); // no final code, ever
    failure = failedRead();
    EXPECT_EQ(failure.kind, FailureKind::NoAnswer);
    EXPECT_EQ(failure.command, Echo);

    limits.listing.maxBytes = 1000;
    failure = failedRead();
    EXPECT_EQ(failure.kind, FailureKind::TooLong);
    EXPECT_EQ(failure.command, Echo);
    EXPECT_EQ(failure.limitBytes, 1000u);
}

TEST_F(PhoneReadFailureTest, RepliesThatDoNotFitAreRefusedNotStored) {
    struct Case {
        const char* name;
        std::string command;
        std::string reply;
        ReplyMismatch mismatch;
        std::string subject;
    };
    const std::string other = "+CMGR: \"REC READ\", \"+79035550000\", \"2005/1/3,9:5:3\"";
    const Case cases[] = {
        {"letters for an index", Echo, listing({"+MMGL: abc, \"REC READ\", \"+7\"", "0041"}),
         ReplyMismatch::BadIndex, "abc"},
        {"a negative index", Echo, listing({"+MMGL: -5, \"STO SENT\", \"+7\"", "0041"}),
         ReplyMismatch::BadIndex, "-5"},
        {"twenty digits", Echo,
         listing({"+MMGL: 12345678901234567890, \"REC READ\", \"+7\"", "0041"}),
         ReplyMismatch::BadIndex, "12345678901234567890"},
        {"no blank before the index", Echo, listing({"+MMGL:12, \"REC READ\", \"+7\"", "0041"}),
         ReplyMismatch::BadIndex, "12"},
        {"three digits", Echo, listing({Unread3, "041"}), ReplyMismatch::BadDigits, "3"},
        {"no digits at all", Echo, listing({Sent12, "ZZZZQQ"}), ReplyMismatch::BadDigits, "12"},
        {"one index twice", Echo,
         listing({Unread3, ucs2("Hi"), "+MMGL: 3, \"STO SENT\", \"+7\"", ucs2("Yes")}),
         ReplyMismatch::RepeatedIndex, "3"},
        {"a line of no listing", Echo, listing({Unread3, ucs2("Hi"), "xyz"}),
         ReplyMismatch::UnexpectedLine, "xyz"},
        {"another message's header", "AT+CMGR=3", other + "\r\n0048\r\nOK\r\n",
         ReplyMismatch::OtherMessage, other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        phone.answer(c.command, c.reply);
        const PhoneFailure failure = failedRead();
        EXPECT_EQ(failure.kind, FailureKind::UnfitReply);
        EXPECT_EQ(failure.command, c.command);
        EXPECT_EQ(failure.mismatch, c.mismatch);
        EXPECT_EQ(failure.subject, c.subject);
    }
}

TEST_F(PhoneReadFailureTest, MessageWhoseTimeCannotBeReadKeepsNoTime) {
    for (const std::string answer :
         {"OK\r\n", "+CMGR: \"REC UNREAD\", \"+79161234567\"\r\n0048\r\nOK\r\n",
          "+CMGR: \"REC UNREAD\", \"+79161234567\", \"\"\r\n0048\r\nOK\r\n"}) {
        SCOPED_TRACE(answer);
        SetUp();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        phone.answer("AT+CMGR=3", answer);
        ASSERT_EQ(read().kind, Kind::Finished);
        EXPECT_EQ(result.inbox.at(0).time, std::nullopt);
        EXPECT_EQ(file("Inbox.msg"), "Hi\r\n3\r\n" + Unread3 + "\r\n\r\n");
    }
}

TEST_F(PhoneReadFailureTest, UnsolicitedLinesInsideRepliesChangeNothing) {
    ASSERT_EQ(read().kind, Kind::Finished);
    const std::string inbox = file("Inbox.msg");
    const std::string outbox = file("Outbox.msg");
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    SetUp();
    phone.answer(Echo, "\r\n+MBAN: Copyright 2000-2002 Motorola, Inc.\r\n" + Unread3 +
                           "\r\n\r\nRING\r\n" + ucs2("Hi") + "\r\n" + Sent12 + "\r\n" +
                           ucs2("Yes") + "\r\n\r\n+CMTI: \"ME\",9\r\nOK\r\n");
    phone.answer("AT+CMGR=3", "+CMGR: \"REC UNREAD\", \"+79161234567\", \"2005/1/2,9:5:3\"\r\n"
                              "\r\nRING\r\n0048\r\nOK\r\n\r\n+CMTI: \"ME\",9\r\n");
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Inbox.msg"), inbox);
    EXPECT_EQ(file("Outbox.msg"), outbox);
}

TEST_F(PhoneReadFailureTest, CancelWhileAReplyIsAwaitedEndsAtOnce) {
    limits = DialogueLimits{}; // the phone has two minutes for its listing
    phone.answer(Echo, "");    // and takes them all
    cancelAt = Echo;
    const ReadResult before = result;
    EXPECT_EQ(read().kind, Kind::Cancelled);
    EXPECT_TRUE(noArchiveFiles());
    EXPECT_EQ(result.outbox.at(0).text, "earlier");
    EXPECT_EQ(phonebook.entries.size(), 1u);
    EXPECT_FALSE(progress.visible);
    // The next read finds the phone answering in step.
    cancelAt.clear();
    phone.answer(Echo, listing({Unread3, ucs2("Hi")}));
    EXPECT_EQ(read().kind, Kind::Finished);
}
