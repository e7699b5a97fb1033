// The whole read over a real port against the simulated phone. Ending each
// reply at its final result codes must change nothing the read sends, reads
// or writes compared with waiting for the line to fall quiet.
#include "phonelink/PhonePort.h"
#include "reading/PhoneReadJob.h"
#include "tests/e2e/ServingLoop.h"
#include "tests/phonelink/PhoneSide.h"
#include "tests/reading/ScriptedPhone.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

using namespace qb;
using Clock = std::chrono::steady_clock;

namespace {

const char Content[] = R"([messages]
2|REC READ|+79161234567|2009/08/18,19:11:45|Мама: купи хлеба\nи молока
3|REC UNREAD|900|2009/12/01,08:05:03|12
5|STO SENT|+79161234567||OK
6|REC READ|+79032223344|2010/01/02,03:04:05|ERROR
8|STO UNSENT|89032223344||черновик
9|REC READ|+79161234567|2010/02/03,04:05:06|Hi $ € :-)

[phonebook]
+79161234567|Мама
900|Bank
+79032223344|OK
)";

// The simulated phone on a pty, answered from a thread of its own: each answer
// 5 ms after the command, in chunks 10 ms apart.
class SlowPhone {
  public:
    SlowPhone() : m_phone(parsePhoneContent(Content)), m_server(m_phone, timing(), nullptr) {
        m_phone.setCommandObserver([this](std::string_view line) { commands.emplace_back(line); });
        m_server.attach(pty.master);
        if (pipe2(m_stop, O_CLOEXEC) == 0)
            m_thread =
                std::thread([this] { e2e::serveThroughReopens(m_server, m_stop[0], m_guard); });
    }
    ~SlowPhone() {
        stop();
        ::close(m_stop[0]);
        ::close(m_stop[1]);
    }
    // Pulls the cable: the phone stops answering and the port's side hangs up.
    void unplug() {
        stop();
        pty.hangUp();
    }

    test::Pty pty;
    std::vector<std::string> commands; // read once the phone has stopped

  private:
    static ServeTiming timing() {
        ServeTiming timing;
        timing.shape = [](std::size_t, std::string_view bytes) {
            return AnswerShape{5, {bytes.size() / 3, 2 * bytes.size() / 3}, {10}};
        };
        return timing;
    }
    void stop() {
        if (!m_thread.joinable())
            return;
        [[maybe_unused]] const ssize_t n = ::write(m_stop[1], "s", 1);
        m_thread.join();
    }

    PhoneSimulator m_phone;
    SimServer m_server;
    std::mutex m_guard;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
};

struct ReadRun {
    ReadOutcome outcome;
    ReadResult result;
    Phonebook phonebook;
    std::map<QString, std::string> files;
    double ms = 0;
};

std::string fileContent(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The read over the pty; `whileReading` may act on the job before it starts.
ReadRun readFrom(SlowPhone& phone, bool quietLineOnly,
                 const std::function<void(PhoneReadJob&)>& whileReading = {}) {
    test::ensureApplication();
    UsbModem modem;
    modem.devNode = phone.pty.slavePath;
    PhonePort port(modem);
    QTemporaryDir dir;
    ReadRun run;
    if (!port.open())
        return run;
    PhoneReadJob job({&port, run.result, run.phonebook, dir.path()});
    job.findChild<PhoneLine*>()->setEndAtFinalCodes(!quietLineOnly);
    if (whileReading)
        whileReading(job);
    const auto start = Clock::now();
    EXPECT_TRUE(test::runToEnd(job));
    run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    run.outcome = job.outcome();
    if (run.outcome.read)
        run.result = *run.outcome.read;
    if (run.outcome.phonebook)
        run.phonebook = *run.outcome.phonebook;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        run.files[name] = fileContent(QDir(dir.path()).filePath(name));
    return run;
}

void expectSameFolder(const ReadFolder& fast, const ReadFolder& quiet) {
    ASSERT_EQ(fast.countMark, quiet.countMark);
    for (int k = 1; k <= fast.count().value_or(0); ++k) {
        const ReadEntry* a = fast.find(k);
        const ReadEntry* b = quiet.find(k);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->header, b->header);
        EXPECT_EQ(a->text, b->text);
        EXPECT_EQ(a->index, b->index);
        EXPECT_EQ(a->status, b->status);
        EXPECT_EQ(a->date, b->date);
    }
}

} // namespace

TEST(SimulatedPhoneReadTest, EndingRepliesAtTheirCodesChangesNothingButTheTime) {
    SlowPhone quietPhone;
    const ReadRun quiet = readFrom(quietPhone, true);
    quietPhone.unplug();
    SlowPhone fastPhone;
    const ReadRun fast = readFrom(fastPhone, false);
    fastPhone.unplug();
    ASSERT_EQ(quiet.outcome.kind, ReadOutcome::Kind::Finished);
    ASSERT_EQ(fast.outcome.kind, ReadOutcome::Kind::Finished);
    EXPECT_EQ(fastPhone.commands, quietPhone.commands);
    EXPECT_EQ(fast.files, quiet.files);
    EXPECT_EQ(fast.files.size(), 4u);
    expectSameFolder(fast.result.inbox, quiet.result.inbox);
    expectSameFolder(fast.result.outbox, quiet.result.outbox);
    expectSameFolder(fast.result.draft, quiet.result.draft);
    EXPECT_EQ(fast.result.inbox.count(), 4);
    EXPECT_EQ(fast.phonebook.entries.size(), 3u);
    // Every reply of the quiet-line read waits at least 150 ms; the other,
    // far less than half of that on any machine.
    EXPECT_LT(fast.ms, quiet.ms / 2);
}

TEST(SimulatedPhoneReadTest, UnpluggingDuringAFastReadStopsCleanly) {
    // The cable goes a few milliseconds after the first date was read, while
    // the read goes on with the next message: at the latest in one of the
    // ten answers still to come, each at least 25 ms away.
    SlowPhone phone;
    std::thread puller;
    const ReadRun run = readFrom(phone, false, [&](PhoneReadJob& job) {
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
    EXPECT_LT(phone.commands.size(), 17u); // a whole read sends 17
}
