// The whole read over a real port against the simulated phone, however the
// phone takes its time: the archive files come out byte for byte the same.
// A phone that never answers, never stops or refuses ends the read with its
// failure, within the bounds, and nothing is written.
#include "phonelink/PhonePort.h"
#include "reading/PhoneReadJob.h"
#include "tests/reading/ScriptedPhone.h"
#include "tests/support/PtyPhone.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>
#include <tuple>

using namespace qb;

namespace {

// Three received messages (texts that look like final codes among them), a
// sent and an unsent one, three contacts: every kind of reply, few answers.
const char Content[] = R"([messages]
2|REC READ|+79161234567|2009/08/18,19:11:45|Мама: купи хлеба\nи молока
3|REC UNREAD|900|2009/12/01,08:05:03|12
5|STO SENT|+79161234567||OK
6|REC READ|+79032223344|2010/01/02,03:04:05|ERROR
8|STO UNSENT|89032223344||Hi $ € :-)

[phonebook]
+79161234567|Мама
900|Bank
+79032223344|OK
)";

// The simulated phone on a pty, answered from a thread of its own.
class SimulatedPhone : public test::PtyPhone {
  public:
    explicit SimulatedPhone(const PhoneQuirks& quirks) : PtyPhone(Content, quirks) {}
};

struct ReadRun {
    ReadOutcome outcome;
    ReadResult result;
    Phonebook phonebook;
    std::map<QString, std::string> files;
};

std::string fileContent(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The read over the pty; `whileReading` may act on the job before it starts.
ReadRun readFrom(SimulatedPhone& phone, const DialogueLimits& limits = {},
                 const std::function<void(PhoneReadJob&)>& whileReading = {}) {
    test::ensureApplication();
    UsbModem modem;
    modem.devNode = phone.pty.slavePath;
    PhonePort port(modem);
    QTemporaryDir dir;
    ReadRun run;
    if (!port.open())
        return run;
    PhoneReadJob job({&port, run.result, run.phonebook, dir.path(), limits});
    if (whileReading)
        whileReading(job);
    EXPECT_TRUE(test::runToEnd(job));
    run.outcome = job.outcome();
    if (run.outcome.read)
        run.result = *run.outcome.read;
    if (run.outcome.phonebook)
        run.phonebook = *run.outcome.phonebook;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        run.files[name] = fileContent(QDir(dir.path()).filePath(name));
    return run;
}

// What the phone answering at once gives: the files every other timing must give.
const std::map<QString, std::string>& promptPhoneFiles() {
    static const std::map<QString, std::string> files = [] {
        SimulatedPhone phone{PhoneQuirks{}};
        ReadRun run = readFrom(phone);
        EXPECT_EQ(run.outcome.kind, ReadOutcome::Kind::Finished);
        return run.files;
    }();
    return files;
}

struct Timing {
    const char* name;
    PhoneQuirks quirks;
};

void PrintTo(const Timing& timing, std::ostream* out) {
    *out << timing.name;
}

PhoneQuirks quirks(const std::function<void(PhoneQuirks&)>& set) {
    PhoneQuirks q;
    set(q);
    return q;
}

class ReadAcrossTimings : public ::testing::TestWithParam<Timing> {};

} // namespace

TEST(SimulatedPhoneReadTest, PromptPhoneIsReadWhole) {
    const auto& files = promptPhoneFiles();
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(std::count(files.at("Inbox.msg").begin(), files.at("Inbox.msg").end(), '\n'), 3 * 4);
    EXPECT_NE(files.at("Inbox.msg").find("\r\nERROR\r\n"), std::string::npos);
    EXPECT_NE(files.at("Outbox.msg").find("OK\r\n 5\r\n"), std::string::npos);
    EXPECT_EQ(std::count(files.at("Phonebook.pbk").begin(), files.at("Phonebook.pbk").end(), '\n'),
              8);
}

TEST(SimulatedPhoneReadTest, TellsItsStagesAsItGoes) {
    SimulatedPhone phone{PhoneQuirks{}};
    std::vector<std::tuple<ReadStage, int, int>> stages;
    readFrom(phone, {}, [&stages](PhoneReadJob& job) {
        QObject::connect(&job, &PhoneReadJob::stageReached,
                         [&stages](ReadStage stage, int done, int total) {
                             stages.emplace_back(stage, done, total);
                         });
    });
    EXPECT_EQ(stages, (std::vector<std::tuple<ReadStage, int, int>>{{ReadStage::Listing, 0, 0},
                                                                    {ReadStage::Dates, 0, 3},
                                                                    {ReadStage::Dates, 1, 3},
                                                                    {ReadStage::Dates, 2, 3},
                                                                    {ReadStage::Phonebook, 0, 0},
                                                                    {ReadStage::Archive, 0, 0}}));
}

TEST_P(ReadAcrossTimings, GivesTheSameArchiveFiles) {
    SimulatedPhone phone(GetParam().quirks);
    const ReadRun run = readFrom(phone);
    ASSERT_EQ(run.outcome.kind, ReadOutcome::Kind::Finished);
    EXPECT_EQ(run.files, promptPhoneFiles());
    EXPECT_EQ(run.result.inbox.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    SimulatedPhoneReadTest, ReadAcrossTimings,
    ::testing::Values(
        Timing{"AnswersAfter50ms", quirks([](PhoneQuirks& q) { q.answerDelayMs = 50; })},
        Timing{"AnswersAfter120ms", quirks([](PhoneQuirks& q) { q.answerDelayMs = 120; })},
        Timing{"AnswersAfter500ms", quirks([](PhoneQuirks& q) { q.answerDelayMs = 500; })},
        Timing{"DribblesItsBytes", quirks([](PhoneQuirks& q) { q.dribbleGapMs = 0; })},
        Timing{"Waits2500msBeforeItsListing",
               quirks([](PhoneQuirks& q) { q.listingDelayMs = 2500; })},
        Timing{"Pauses1sMidListing", quirks([](PhoneQuirks& q) { q.pauseMs = 1000; })},
        Timing{"MixesInLinesOfItsOwn", quirks([](PhoneQuirks& q) { q.unsolicited = true; })}),
    [](const ::testing::TestParamInfo<Timing>& info) { return std::string(info.param.name); });

// Short bounds, so that the rows stay quick; the product's are ten seconds and two minutes.
TEST(SimulatedPhoneReadTest, PhoneThatFailsEndsTheReadWithItsFailure) {
    struct Case {
        const char* name;
        PhoneQuirks quirks;
        PhoneFailure::Kind failure;
        std::string command;
    };
    const Case cases[] = {
        {"never answers", quirks([](PhoneQuirks& q) { q.silentCommand = "AT"; }),
         PhoneFailure::Kind::NoAnswer, "AT"},
        {"never stops", quirks([](PhoneQuirks& q) { q.endlessCommand = "at+mmgl=\"ALL\""; }),
         PhoneFailure::Kind::TooLong, "at+mmgl=\"ALL\""},
        {"falls silent mid-listing", quirks([](PhoneQuirks& q) { q.pauseMs = 3000; }),
         PhoneFailure::Kind::Stopped, "at+mmgl=\"ALL\""},
        {"refuses a message", quirks([](PhoneQuirks& q) {
             q.refusedCommand = "AT+CMGR=3";
             q.cmsError = 500;
         }),
         PhoneFailure::Kind::Refused, "AT+CMGR=3"},
    };
    DialogueLimits limits;
    limits.command = {800, 800, 64 * 1024};
    limits.listing = {2000, 800, 32 * 1024};
    limits.phonebook = limits.listing;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedPhone phone(c.quirks);
        const ReadRun run = readFrom(phone, limits);
        ASSERT_EQ(run.outcome.kind, ReadOutcome::Kind::PhoneFailed);
        ASSERT_TRUE(run.outcome.phoneFailure);
        EXPECT_EQ(run.outcome.phoneFailure->kind, c.failure);
        EXPECT_EQ(run.outcome.phoneFailure->command, c.command);
        EXPECT_TRUE(run.files.empty());
        EXPECT_TRUE(run.result.inbox.empty());
        if (c.failure == PhoneFailure::Kind::Refused) {
            EXPECT_EQ(run.outcome.phoneFailure->errorNumber, 500);
        }
        phone.unplug();
    }
}

TEST(SimulatedPhoneReadTest, UnpluggingDuringAReadStopsCleanly) {
    // The cable goes a few milliseconds after the first date was read, while
    // the read goes on with the next message: at the latest in one of the
    // answers still to come, each 30 ms away.
    SimulatedPhone phone(quirks([](PhoneQuirks& q) { q.answerDelayMs = 30; }));
    std::thread puller;
    const ReadRun run = readFrom(phone, {}, [&](PhoneReadJob& job) {
        // Set-up, listing, AT, then the first date: the fifth reply is the next AT's.
        QObject::connect(job.findChild<PhoneLine*>(), &PhoneLine::replyAwaited, &job,
                         [&, replies = 0](int) mutable {
                             if (++replies == 5)
                                 puller = std::thread([&] {
                                     test::sleepMs(5);
                                     phone.unplug();
                                 });
                         });
    });
    if (puller.joinable())
        puller.join();
    EXPECT_EQ(run.outcome.kind, ReadOutcome::Kind::PortVanished);
    EXPECT_TRUE(run.files.empty());
    EXPECT_LT(phone.commands.size(), 15u); // a whole read sends 15
}
