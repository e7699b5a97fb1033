// The standard read over a real port against the simulated standard phone:
// every storage read, long messages joined, every character kept, status
// reports and gaps told in the summary, a second read adding nothing; a port
// without a vendor read by the dialogue its phone names.
#include "reading/StandardReadJob.h"
#include "core/ArchiveText.h"
#include "phonelink/PhonePort.h"
#include "reading/PhoneReadJob.h"
#include "tests/support/JobRun.h"
#include "tests/support/PtyPhone.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace qb;

namespace {

std::string standardPhone() {
    QFile file(QStringLiteral(QUILLBOX_STANDARD_PHONE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

const char MotorolaPhone[] = R"([messages]
2|REC READ|+79161234567|2009/08/18,19:11:45|Мама: купи хлеба
5|STO SENT|+79161234567||OK

[phonebook]
+79161234567|Мама
)";

UsbModem modemAt(const std::string& devNode) {
    UsbModem modem;
    modem.devNode = devNode;
    return modem;
}

std::string fileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

struct Read {
    ReadOutcome outcome;
    std::vector<std::string> commands;
    std::string inbox, outbox, draft, phonebook;
};

Read readInto(const QString& dir, std::string_view content,
              std::optional<PhoneDialogue> dialogue = PhoneDialogue::Standard) {
    test::PtyPhone phone(content, PhoneQuirks{});
    test::ensureApplication();
    PhonePort port(modemAt(phone.pty.slavePath));
    Read read;
    if (!port.open())
        return read;
    ReadContext context{&port, {}, {}, dir};
    context.dialogue = dialogue;
    std::unique_ptr<ReadJob> job;
    if (dialogue == PhoneDialogue::Motorola)
        job = std::make_unique<PhoneReadJob>(context);
    else
        job = std::make_unique<StandardReadJob>(context);
    EXPECT_EQ(test::runJob(*job).finished, 1);
    read.outcome = job->outcome();
    port.close();
    phone.unplug();
    read.commands = phone.commands;
    const QDir files(dir);
    read.inbox = fileContent(files.filePath(QStringLiteral("Inbox.msg")));
    read.outbox = fileContent(files.filePath(QStringLiteral("Outbox.msg")));
    read.draft = fileContent(files.filePath(QStringLiteral("Draft.msg")));
    read.phonebook = fileContent(files.filePath(QStringLiteral("Phonebook.pbk")));
    return read;
}

bool holds(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

bool sent(const Read& read, std::string_view command) {
    return std::find(read.commands.begin(), read.commands.end(), command) != read.commands.end();
}

std::string archived(const char16_t* text) {
    return archivetext::encode(QString::fromUtf16(text));
}

} // namespace

TEST(StandardReadJob, ReadsEveryStorageIntoTheThreeFolders) {
    QTemporaryDir dir;
    const Read read = readInto(dir.path(), standardPhone());
    ASSERT_EQ(read.outcome.kind, ReadOutcome::Kind::Finished);
    ASSERT_TRUE(read.outcome.read);
    EXPECT_EQ(read.outcome.read->inbox.size(), 8u);
    EXPECT_EQ(read.outcome.read->outbox.size(), 2u);
    EXPECT_EQ(read.outcome.read->draft.size(), 1u);
    EXPECT_EQ(read.outcome.appended, (AppendedCounts{8, 2, 1}));
    // The long message from the SIM, joined, with every part's place.
    EXPECT_TRUE(holds(read.inbox, "\r\nSM5,SM3,SM4\r\n+CMGL: SM5,SM3,SM4, \"REC UNREAD\", "
                                  "\"+79032223344\"\r\n04/05/2009,20:00:00\r\n"));
    EXPECT_TRUE(holds(read.inbox, archived(u"ΔΣ ΩΠ: ΦΓΛΨΞΘ at 8, see you!") + "\r\nME2\r\n"));
    EXPECT_TRUE(holds(read.inbox, archived(u"你好！😀 See you soon 👍")));
    EXPECT_TRUE(holds(read.inbox, "+CMGL: SM2, \"REC READ\", \"InternetSMS\""));
    EXPECT_TRUE(holds(read.outbox, " SM7\r\n+CMGL: SM7, \"STO SENT\", \"+79055556677\"\r\n"));
    EXPECT_TRUE(holds(read.draft, " ME9\r\n+CMGL: ME9, \"STO UNSENT\", \"+79167778899\"\r\n"));
    EXPECT_TRUE(holds(read.phonebook, archived(u"王伟")));
    // Each storage chosen, listed, and the phone's own choice put back.
    EXPECT_TRUE(sent(read, "AT+CMGF=0"));
    EXPECT_TRUE(sent(read, "AT+CPMS=\"SM\""));
    EXPECT_TRUE(sent(read, "AT+CPMS=\"ME\""));
    EXPECT_FALSE(sent(read, "AT+CPMS=\"MT\""));
    EXPECT_EQ(std::count(read.commands.begin(), read.commands.end(), "AT+CMGL=4"), 2);
    EXPECT_FALSE(sent(read, "AT+CGMI")); // the USB vendor said which dialogue
}

TEST(StandardReadJob, TellsWhatItLeftOut) {
    QTemporaryDir dir;
    const LeftOut left = readInto(dir.path(), standardPhone()).outcome.leftOut;
    EXPECT_EQ(left.statusReports, 1);
    EXPECT_EQ(left.incompleteMessages, 1);
    EXPECT_EQ(left.missingParts, 1);
    EXPECT_TRUE(left.undecodable.isEmpty());
}

TEST(StandardReadJob, ASecondReadAddsNothing) {
    QTemporaryDir dir;
    const Read first = readInto(dir.path(), standardPhone());
    const Read second = readInto(dir.path(), standardPhone());
    EXPECT_EQ(second.outcome.kind, ReadOutcome::Kind::Finished);
    EXPECT_EQ(second.outcome.appended, (AppendedCounts{0, 0, 0}));
    EXPECT_EQ(second.inbox, first.inbox);
    EXPECT_EQ(second.outbox, first.outbox);
}

TEST(StandardReadJob, MovesTheBarWithEveryReply) {
    QTemporaryDir dir;
    test::PtyPhone phone(standardPhone(), PhoneQuirks{});
    test::ensureApplication();
    PhonePort port(modemAt(phone.pty.slavePath));
    ASSERT_TRUE(port.open());
    StandardReadJob job({&port, {}, {}, dir.path()});
    const test::JobRun run = test::runJob(job);
    ASSERT_FALSE(run.progress.empty());
    int highest = 0;
    for (const ProgressState& state : run.progress) {
        EXPECT_LE(state.position, state.maximum);
        EXPECT_GE(state.position, highest); // never back
        highest = state.position;
    }
    port.close();
    phone.unplug();
    // One step for every command answered.
    EXPECT_EQ(highest, int(phone.commands.size()));
    EXPECT_FALSE(run.progress.back().visible);
}

TEST(StandardReadJob, APortWithoutVendorIsReadAsItsPhoneNamesItself) {
    QTemporaryDir standardDir, motorolaDir, byVendorDir;
    const Read standard = readInto(standardDir.path(), standardPhone(), std::nullopt);
    EXPECT_TRUE(sent(standard, "AT+CGMI"));
    EXPECT_EQ(standard.outcome.appended, (AppendedCounts{8, 2, 1}));

    // A Motorola phone: the Motorola read, with the files it has always written.
    const Read motorola = readInto(motorolaDir.path(), MotorolaPhone, std::nullopt);
    EXPECT_EQ(motorola.outcome.kind, ReadOutcome::Kind::Finished);
    EXPECT_TRUE(sent(motorola, "at+mmgl=\"ALL\""));
    EXPECT_FALSE(sent(motorola, "AT+CMGL=4"));
    const Read byVendor = readInto(byVendorDir.path(), MotorolaPhone, PhoneDialogue::Motorola);
    EXPECT_EQ(motorola.inbox, byVendor.inbox);
    EXPECT_EQ(motorola.outbox, byVendor.outbox);
    EXPECT_EQ(motorola.phonebook, byVendor.phonebook);
}

TEST(StandardReadJob, ArchivedMessagesGoByKindAndStatus) {
    auto joined = [](PduKind kind, StoredStatus status) {
        JoinedMessage m;
        m.kind = kind;
        m.status = status;
        m.address.number = QStringLiteral("+7");
        m.text = QStringLiteral("a\r\nb");
        m.locations = {{"ME", 3}};
        return m;
    };
    const ReadResult read = archivedMessages({
        joined(PduKind::Deliver, StoredStatus::ReceivedUnread),
        joined(PduKind::Deliver, StoredStatus::ReceivedRead),
        joined(PduKind::Submit, StoredStatus::StoredSent),
        joined(PduKind::Submit, StoredStatus::StoredUnsent),
    });
    ASSERT_EQ(read.inbox.size(), 2u);
    EXPECT_EQ(read.inbox[0].status, MessageStatus::Unread);
    EXPECT_EQ(read.inbox[1].status, MessageStatus::Read);
    EXPECT_EQ(read.inbox[0].text, "a b"); // one line per message, as always
    ASSERT_EQ(read.outbox.size(), 1u);
    EXPECT_EQ(read.outbox[0].status, MessageStatus::Sent);
    ASSERT_EQ(read.draft.size(), 1u);
    EXPECT_EQ(read.draft[0].status, MessageStatus::Unsent);
}

// A refusal stops the read with the command and the phone's error; a cancel
// stops it while the phone is still reading its memory. Neither writes a file.
TEST(StandardReadJob, ARefusalOrACancelEndsTheReadWithNothingWritten) {
    test::ensureApplication();
    PhoneQuirks refusing;
    refusing.refusedCommand = "AT+CMGF=0";
    refusing.cmsError = 302;
    PhoneQuirks slowListing;
    slowListing.listingDelayMs = 3000;
    for (const PhoneQuirks& quirks : {refusing, slowListing}) {
        QTemporaryDir dir;
        test::PtyPhone phone(standardPhone(), quirks);
        PhonePort port(modemAt(phone.pty.slavePath));
        ASSERT_TRUE(port.open());
        StandardReadJob job({&port, {}, {}, dir.path()});
        QElapsedTimer took;
        took.start();
        const test::JobRun run = test::runJob(job, [&] {
            if (quirks.listingDelayMs > 0)
                QTimer::singleShot(300, &job, [&job] { job.cancel(); });
        });
        EXPECT_EQ(run.finished, 1);
        EXPECT_LT(took.elapsed(), 2500);
        if (quirks.listingDelayMs > 0) {
            EXPECT_EQ(job.outcome().kind, ReadOutcome::Kind::Cancelled);
        } else {
            ASSERT_EQ(job.outcome().kind, ReadOutcome::Kind::PhoneFailed);
            EXPECT_EQ(job.outcome().phoneFailure->command, "AT+CMGF=0");
            EXPECT_EQ(job.outcome().phoneFailure->errorNumber, 302);
        }
        EXPECT_FALSE(job.outcome().read);
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

// A phone with every quirk of real PDU modes: padded PDUs with ",0" after
// them, no lengths, listings numbered 1, 2, ... rather than by location, and
// no UCS2 for names. The same records come out, each at its real place.
TEST(StandardReadJob, AQuirkyPhoneGivesTheSameRecordsAtTheirRealPlaces) {
    std::string quirky = standardPhone();
    for (const char* quirk : {"pdu padding = 2", "pdu trailing comma = yes", "read length = no",
                              "listing alpha = no", "listing indexes = order", "ucs2 = no"}) {
        const std::string commented = std::string("# ") + quirk;
        const auto at = quirky.find(commented);
        ASSERT_NE(at, std::string::npos) << quirk;
        quirky.replace(at, commented.size(), quirk);
    }
    QTemporaryDir tidyDir, quirkyDir;
    const Read tidy = readInto(tidyDir.path(), standardPhone());
    const Read read = readInto(quirkyDir.path(), quirky);
    ASSERT_EQ(read.outcome.kind, ReadOutcome::Kind::Finished);
    EXPECT_EQ(read.inbox, tidy.inbox);
    EXPECT_EQ(read.outbox, tidy.outbox);
    EXPECT_EQ(read.draft, tidy.draft);
    EXPECT_TRUE(sent(read, "AT+CMGR=30")); // the SIM read place by place
    EXPECT_TRUE(holds(read.phonebook, "Anna London"));
}
