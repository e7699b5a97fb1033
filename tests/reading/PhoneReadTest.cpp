// The whole phone read against a scripted Motorola phone.
#include "reading/PhoneReadJob.h"

#include "core/LineList.h"

#include "Captures.h"
#include "PhoneReadFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

using namespace qb;
using qb::test::ucs2;

using namespace qb::test;

TEST_F(PhoneReadTest, MotorolaPhoneWithMessagesInEveryFolder) {
    const std::string reply = listing({Echo, Unread3, ucs2("Hi"), Sent12, ucs2("Yes"), Read14,
                                       "041C0430043C0430", Unsent7, ucs2("Later")});
    phone.answer(Echo, reply.substr(Echo.size() + 2));
    phone.answer("AT+CMGR=3",
                 "+CMGR: \"REC UNREAD\", \"+79161234567\", \"2005/1/2,9:5:3\"\r\n0048\r\nOK\r\n");
    phone.answer("AT+CMGR=14", test::capturedReply("cmgr-text-motorola-l7.dump").substr(14));
    phone.answer("at+cpbr=1,250", "+CPBR: 1,\"+79161234567\",145,041C0430043C0430\r\n\r\n"
                                  "+CPBR: 2,\"112\",129,0053004F0053\r\n\r\n"
                                  "+CPBR: 3,\"+7\",145,\r\n\r\nOK\r\n");

    ASSERT_EQ(read().kind, Kind::Finished);

    EXPECT_EQ(phone.sent, joined(joined(SetUpAndListing, {"AT", "AT+CMGR=3", "AT", "AT+CMGR=14"}),
                                 PhonebookCommands));
    EXPECT_EQ(finalCodesWanted.size(), 9u); // one reply per group of commands
    EXPECT_EQ(result.inbox[0].time, (MessageTime{2005, 1, 2, 9, 5, 3}));
    EXPECT_EQ(result.inbox[1].time, (MessageTime{2009, 8, 18, 19, 11, 45}));
    EXPECT_EQ(result.outbox[0].time, std::nullopt);

    EXPECT_EQ(file("Inbox.msg"), "Hi\r\n3\r\n" + Unread3 +
                                     "\r\n02/01/2005,09:05:03\r\n"
                                     "\xCC\xE0\xEC\xE0\r\n14\r\n" +
                                     Read14 + "\r\n18/08/2009,19:11:45\r\n");
    EXPECT_EQ(file("Outbox.msg"), "Yes\r\n 12\r\n" + Sent12 + "\r\n");
    EXPECT_EQ(file("Draft.msg"), "Later\r\n 7\r\n" + Unsent7 + "\r\n");
    EXPECT_EQ(file("Phonebook.pbk"),
              "7\r\n+79161234567\r\n\xCC\xE0\xEC\xE0\r\n112\r\nSOS\r\n+7\r\n\r\n\r\n");
    EXPECT_EQ(phonebook.entries.size(), 3u);

    // Re-open, command sent, listing stored; one per listing line number in
    // the Draft pass; one per received message; two for the phonebook.
    LineList lines;
    lines.add(reply);
    EXPECT_EQ(maximums, std::vector<int>{lines.count() + 7});
    EXPECT_EQ(progress.position, 3 + lines.count() + 1 + 2 + 2);
    EXPECT_FALSE(progress.visible);
    EXPECT_TRUE(progress.textVisible);
}

TEST_F(PhoneReadTest, BarIsShownWithoutTextWhileTheReadRuns) {
    phone.answer(Echo, listing({Sent12, ucs2("Yes")}));
    PhoneReadJob job({&phone, result, phonebook, dir.path()});
    std::vector<ProgressState> states;
    QObject::connect(&job.progress(), &ProgressSignal::changed, &job,
                     [&](const ProgressState& state) { states.push_back(state); });
    ASSERT_TRUE(test::runToEnd(job));
    ASSERT_GE(states.size(), 3u);
    EXPECT_TRUE(states.front().visible);
    EXPECT_FALSE(states[1].textVisible);
    EXPECT_EQ(states[1].maximum, 100);
    EXPECT_FALSE(states.back().visible);
}

TEST_F(PhoneReadTest, CancelledReadWritesNoFileAndKeepsTheFolders) {
    phone.answer(Echo, listing({Read3, ucs2("Hi"), Read14, ucs2("Yo"), Sent12, ucs2("Yes")}));
    result.outbox.assign(1, {});
    result.outbox[0].text = "earlier";
    phonebook = {{{"+7", "A"}}};
    for (const std::string& at : {Echo, std::string("AT+CMGR=14"), std::string("at+cpbr=1,250")}) {
        SCOPED_TRACE(at);
        cancelAt = at;
        EXPECT_EQ(read().kind, Kind::Cancelled);
        EXPECT_EQ(phone.sent.back(), at); // nothing after the step that was running
        EXPECT_TRUE(noArchiveFiles());
        EXPECT_EQ(result.outbox[0].text, "earlier");
        EXPECT_TRUE(result.inbox.empty());
        EXPECT_EQ(phonebook.entries.size(), 1u);
    }
}

TEST(progressStep, NeverGoesBeyondAHundred) {
    NullProgress bar;
    bar.setPosition(95);
    progressStep(bar, 20);
    EXPECT_EQ(bar.position(), 100);
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(150); // the Draft pass may leave it there
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(3);
    progressStep(bar, 1);
    EXPECT_EQ(bar.position(), 4);
}

TEST_F(PhoneReadTest, SecondReadAddsNothingAndAReadMessageIsArchivedAgain) {
    phone.answer(Echo, listing({Unread3, ucs2("Hi"), Sent12, ucs2("Yes")}));
    phone.thenAnswer(Echo, listing({Read3, ucs2("Hi"), Sent12, ucs2("Yes")}));
    phone.answer(
        "AT+CMGR=3",
        "+CMGR: \"REC READ\", \"+79161234567\", \"2005/01/02,09:05:03\"\r\n0048\r\nOK\r\n");
    ASSERT_EQ(read().kind, Kind::Finished);
    const std::string outbox = file("Outbox.msg");
    ASSERT_EQ(read().kind, Kind::Finished);
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Outbox.msg"), outbox);
    EXPECT_EQ(file("Draft.msg"), "");
    EXPECT_EQ(file("Inbox.msg"), "Hi\r\n3\r\n" + Unread3 +
                                     "\r\n02/01/2005,09:05:03\r\n"
                                     "Hi\r\n3\r\n" +
                                     Read3 + "\r\n02/01/2005,09:05:03\r\n");
}

// Archives carried over from versions that decoded by a fixed table hold the
// text without "#", "&", "<", ">", line breaks and lower-case digits. Reading
// the same messages again must not archive them a second time.
TEST_F(PhoneReadTest, MessagesArchivedByTheEarlierDecodingAreNotArchivedAgain) {
    const std::string digits =
        ucs2("Meet #5 & <") + "0434043e043c" + ucs2(">") + "000D000A" + ucs2("ok");
    const std::string time = "\"2005/01/02,09:05:03\"\r\nOK\r\n";
    phone.answer("AT+CMGR=3", "+CMGR: \"REC READ\", \"+79161234567\", " + time);
    phone.answer("AT+CMGR=14", "+CMGR: \"REC READ\", \"+4123456789132\", " + time);
    const std::string earlierInbox =
        "Meet 5  \xE4ok\r\n3\r\n" + Read3 + "\r\n02/01/2005,09:05:03\r\n";
    const std::string earlierOutbox = "Meet 5  \xE4ok\r\n 12\r\n" + Sent12 + "\r\n";
    QFile inbox(QDir(dir.path()).filePath("Inbox.msg"));
    ASSERT_TRUE(inbox.open(QIODevice::WriteOnly));
    inbox.write(earlierInbox.data(), static_cast<qint64>(earlierInbox.size()));
    inbox.close();
    QFile outbox(QDir(dir.path()).filePath("Outbox.msg"));
    ASSERT_TRUE(outbox.open(QIODevice::WriteOnly));
    outbox.write(earlierOutbox.data(), static_cast<qint64>(earlierOutbox.size()));
    outbox.close();

    phone.answer(Echo, listing({Read3, digits, Sent12, digits, Read14, digits}));
    ASSERT_EQ(read().kind, Kind::Finished);
    // The message at index 14 really is new, and goes in as today's decoding reads it.
    EXPECT_EQ(file("Inbox.msg"), earlierInbox + "Meet #5 & <\xE4\xEE\xEC> ok\r\n14\r\n" + Read14 +
                                     "\r\n02/01/2005,09:05:03\r\n");
    EXPECT_EQ(file("Outbox.msg"), earlierOutbox);
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Outbox.msg"), earlierOutbox);
}

// A phone that lists no entry keeps the phonebook as the file holds it now
// (another copy of Quillbox may have written it since this one loaded it);
// the one known here is written only where there is no file.
TEST_F(PhoneReadTest, PhonebookWithoutEntriesKeepsWhatIsKnown) {
    phone.answer(Echo, listing({Sent12, ucs2("Yes")}));
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Phonebook.pbk"), "1\r\n\r\n");

    const std::string written = "5\r\n+7\r\nA\r\n112\r\nB\r\n\r\n";
    QFile other(QDir(dir.path()).filePath("Phonebook.pbk"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(written.data(), qint64(written.size()));
    other.close();
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Phonebook.pbk"), written);

    ASSERT_TRUE(QFile::remove(QDir(dir.path()).filePath("Phonebook.pbk")));
    phonebook = {{{"112", "B"}}};
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Phonebook.pbk"), "3\r\n112\r\nB\r\n\r\n");
    EXPECT_EQ(phonebook.entries.size(), 1u);
}

TEST_F(PhoneReadTest, HandEditedPhonebookCountStopsBeforeTheMerge) {
    phone.answer(Echo, listing({Sent12, ucs2("Yes")}));
    phonebook = {{}, "x7"};
    const ReadOutcome outcome = read();
    ASSERT_EQ(outcome.kind, Kind::Failed);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->text(), "'x7' is not a valid integer value");
    EXPECT_TRUE(noArchiveFiles());
    EXPECT_EQ(result.outbox.size(), 1u); // the messages of this read are shown all the same
}

TEST_F(PhoneReadTest, FirstMessageWithEmptyTextIsNotMistakenForAnEmptyPhone) {
    phone.answer(Echo, listing({Sent12, "", Unsent7, ucs2("Later")}));
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(file("Outbox.msg"), "\r\n 12\r\n" + Sent12 + "\r\n");
    EXPECT_EQ(result.draft[0].text, "Later");
}

TEST_F(PhoneReadTest, PhoneWithoutMessagesChangesNothing) {
    phone.answer(Echo, "OK\r\n");
    EXPECT_EQ(read().kind, Kind::NothingListed);
    EXPECT_EQ(phone.sent, SetUpAndListing);
    EXPECT_TRUE(noArchiveFiles());
    EXPECT_TRUE(result.inbox.empty());
}

TEST_F(PhoneReadTest, UnpluggedDuringTheDatePassLeavesEverythingAsBefore) {
    result.outbox.assign(1, {});
    result.outbox[0].text = "earlier";
    phonebook = {{{"+7", "A"}}};
    const ReadResult before = result;
    // The watcher destroys the port, or the port hangs up, as the first date is asked for.
    for (const bool portDestroyed : {true, false}) {
        SCOPED_TRACE(portDestroyed);
        auto port = std::make_unique<test::ScriptedPhone>();
        port->answer(Echo, listing({Read3, ucs2("Hi"), Read14, ucs2("Yo"), Sent12, ucs2("Yes")}));
        port->onSent = [&](const std::string& command) {
            if (command != "AT+CMGR=3")
                return;
            if (portDestroyed)
                QTimer::singleShot(0, [&port] { port.reset(); });
            else
                port->unplug();
        };
        PhoneReadJob job({port.get(), result, phonebook, dir.path()});
        ASSERT_TRUE(test::runToEnd(job));
        EXPECT_EQ(take(job.outcome()).kind, Kind::PortVanished);
        if (port) {
            EXPECT_EQ(port->sent, joined(SetUpAndListing, {"AT", "AT+CMGR=3"}));
        }
        EXPECT_EQ(result.outbox[0].text, "earlier");
        EXPECT_EQ(result.outbox.size(), before.outbox.size());
        EXPECT_EQ(result.inbox.size(), before.inbox.size());
        EXPECT_EQ(phonebook.entries.size(), 1u);
        EXPECT_TRUE(noArchiveFiles());
    }
}

// A port another program took, a port the user may not open and a phone that
// stops taking commands each end the read as what they are, not as an unplugged
// phone; like an unplug, they leave the folders and the archive as they were.
TEST_F(PhoneReadTest, BusyRefusedOrStalledPhoneEndsTheReadAsSuch) {
    phone.answer(Echo, listing({Read3, ucs2("Hi"), Sent12, ucs2("Yes")}));
    result.outbox.assign(1, {});
    result.outbox[0].text = "earlier";
    const ReadResult before = result;
    struct Case {
        OpenError openFailure;
        std::string stallAt;
        Kind expected;
    };
    const Case cases[] = {
        {OpenError::Busy, "", Kind::PortBusy},
        {OpenError::NoPermission, "", Kind::PortRefused},
        {OpenError::Missing, "", Kind::PortVanished},
        {OpenError::None, Echo, Kind::PhoneStalled},
        {OpenError::None, "AT+CMGR=3", Kind::PhoneStalled},
        {OpenError::None, "at+cpbr=1,250", Kind::PhoneStalled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stallAt + " " + std::to_string(static_cast<int>(c.openFailure)));
        phone.openFailure = c.openFailure;
        phone.stallAt = c.stallAt;
        EXPECT_EQ(read().kind, c.expected);
        EXPECT_TRUE(noArchiveFiles());
        EXPECT_EQ(result.outbox.at(0).text, "earlier");
        EXPECT_EQ(result.inbox.size(), before.inbox.size());
        EXPECT_EQ(result.outbox.size(), 1u);
        if (c.openFailure != OpenError::None) {
            EXPECT_TRUE(phone.sent.empty());
        }
    }
    phone.openFailure = OpenError::None;
    phone.stallAt.clear();
    EXPECT_EQ(read().kind, Kind::Finished); // the phone takes commands again
}

TEST_F(PhoneReadTest, VanishedOrDeadPortIsNeverUsed) {
    plugged = false;
    EXPECT_EQ(read().kind, Kind::PortVanished);
    EXPECT_TRUE(phone.sent.empty());

    plugged = true;
    phone.unplug(); // still listed, but the device is gone: re-open fails
    EXPECT_EQ(read().kind, Kind::PortVanished);
    EXPECT_TRUE(phone.sent.empty());
    EXPECT_TRUE(finalCodesWanted.empty());
    EXPECT_TRUE(noArchiveFiles());
}

TEST_F(PhoneReadTest, TenThousandReceivedMessages) {
    std::vector<std::string> lines;
    for (int i = 1; i <= 10000; ++i) {
        lines.push_back("+MMGL: " + std::to_string(i) + ", \"REC READ\", \"+7\"");
        lines.push_back("0041");
    }
    phone.answer(Echo, listing(lines));
    ASSERT_EQ(read().kind, Kind::Finished);
    EXPECT_EQ(result.inbox.size(), 10000u);
    EXPECT_EQ(phone.sent.size(), SetUpAndListing.size() + 20000 + PhonebookCommands.size());
    EXPECT_EQ(progress.position, 100);
}

class BadListing : public PhoneReadTest, public ::testing::WithParamInterface<std::string> {};

// Garbage ends the read as what it is, or is taken as before; either way no
// file holds any of it.
TEST_P(BadListing, NeverCrashesNorStoresGarbage) {
    phone.answer(Echo, GetParam());
    phone.answer("AT+CMGR=1", GetParam());
    phone.answer("AT+CPBR=?", GetParam());
    phone.answer("at+cpbr=1,250", GetParam());
    const ReadOutcome outcome = read();
    EXPECT_TRUE(outcome.kind == Kind::NothingListed || outcome.kind == Kind::PhoneFailed)
        << static_cast<int>(outcome.kind);
    EXPECT_TRUE(noArchiveFiles());
}

INSTANTIATE_TEST_SUITE_P(
    PhoneRead, BadListing,
    ::testing::Values(
        std::string(), "ERROR\r\n", "+CMS ERROR: 321\r\n", "+MMGL: 1, \"REC RE",
        "+MMGL: 1, \"REC READ\", \"+7\"\r\n00", "+MMGL: 1, \"REC READ\", \"+7\"",
        "+MMGL: 1, \"REC READ\"\r\n+MMGL: 2, \"STO SENT\"\r\n+MMGL: 3, \"STO UNSENT\"\r\n",
        "+MMGL: 1, \"RECEIVED\", \"+7\"\r\n0041\r\nOK\r\n", "\"REC READ\"\"\"\"\"\"\"\r\n\"-)\r\n",
        std::string("+MMGL: 1, \"REC READ\"\0\xFF\xFE\r\n\x01\x02\r\r\n\n\r", 33),
        std::string(5000, '\xFF') + "\r\n+MMGL: 1, \"STO SENT\", \"" + std::string(5000, 'x')));
