// The phone read against the phone's own answering time. A simulated phone
// answers every command after a chosen delay (5 ms, a quick phone; 120 ms, a
// slow one); the read should be limited by those delays, not by pauses of
// its own: it may take at most 1.1 times the phone's own time. The
// quiet-line rule alone (50 ms before the first look, 100 ms of quiet after
// the last chunk) would put a floor of 150 ms under every reply, and could
// not read a phone slower than 50 ms at all; that old floor is reported
// beside the measured time. In the same run gammu, an independent AT client,
// reads all messages from the same simulated phone, as a peer to compare with.
#include "phonelink/PhonePort.h"
#include "reading/PhoneReadJob.h"
#include "reading/StandardReadJob.h"
#include "support/WidgetBenchmarks.h"
#include "tests/e2e/ServingLoop.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr double OldReplyFloorMs = 150;

// 50 received, 20 sent and 10 unsent messages in one storage, mixed as on a
// phone in use, and 100 contacts.
qb::PhoneContent busyPhone() {
    qb::PhoneContent content;
    for (int i = 1; i <= 80; ++i) {
        qb::SimMessage m;
        m.index = i;
        m.status = i % 8 == 0   ? qb::SmsStatus::StoredUnsent
                   : i % 4 == 2 ? qb::SmsStatus::StoredSent
                                : qb::SmsStatus::ReceivedRead;
        m.number = "+7916" + std::to_string(1000000 + i % 100);
        m.year = 2008;
        m.month = 1 + i % 12;
        m.day = 1 + i % 28;
        m.hour = i % 24;
        m.minute = i % 60;
        m.second = (7 * i) % 60;
        m.text = "Сообщение номер " + std::to_string(i) +
                 ": встречаемся у метро в семь, не опаздывай, билеты у меня.";
        content.messages.push_back(m);
    }
    for (int i = 0; i < 100; ++i)
        content.contacts.push_back(
            {"+7916" + std::to_string(1000000 + i), "Контакт " + std::to_string(i)});
    return content;
}

// The same messages and contacts on a phone that speaks only the standard
// commands: the first 20 messages on the SIM, the rest in the phone's memory.
qb::PhoneContent busyStandardPhone() {
    qb::PhoneContent content = busyPhone();
    content.kind = qb::PhoneKind::Standard;
    content.manufacturer = "Nokia";
    for (qb::SimMessage& m : content.messages)
        if (m.index <= 20)
            m.storage = "SM";
        else
            m.index -= 20;
    return content;
}

struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string slave;
    Pty() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = ptsname(master);
    }
    ~Pty() { ::close(master); }
};

// The simulator on its own thread, as a phone answers while the read waits;
// every command's answer comes delayMs after the phone's turn.
class SimulatedPhone {
  public:
    SimulatedPhone(int fd, int delayMs, bool standard = false)
        : m_phone(standard ? busyStandardPhone() : busyPhone()),
          m_server(m_phone, everyAnswerAfter(delayMs), nullptr) {
        m_server.attach(fd);
        if (pipe2(m_stop, O_CLOEXEC) == 0)
            m_thread =
                std::thread([this] { qb::e2e::serveThroughReopens(m_server, m_stop[0], m_guard); });
    }
    ~SimulatedPhone() {
        [[maybe_unused]] const ssize_t n = ::write(m_stop[1], "s", 1);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_stop[0]);
        ::close(m_stop[1]);
    }
    // The time the phone itself took so far: the sum of its chosen delays.
    double answeringMs() {
        std::lock_guard lock(m_guard);
        return double(m_server.answeringTime().count());
    }

  private:
    static qb::ServeTiming everyAnswerAfter(int delayMs) {
        qb::ServeTiming timing;
        timing.shape = [delayMs](std::size_t, std::string_view) {
            return qb::AnswerShape{delayMs, {}, {}};
        };
        return timing;
    }
    qb::PhoneSimulator m_phone;
    qb::SimServer m_server;
    std::mutex m_guard;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
};

struct ReadRun {
    qb::ReadOutcome outcome;
    qb::ReadResult result;
    qb::Phonebook phonebook;
    int replies = 0;
    double ms = 0;
    double storeMs = 0; // of `ms`: writing the archive files once the phone has said all
};

// The read as the window runs it, on the event loop.
template <class ReadJob> ReadRun readOnce(qb::AtPort& port, const QString& workDir) {
    ReadRun run;
    ReadJob job({&port, run.result, run.phonebook, workDir});
    QObject::connect(job.template findChild<qb::PhoneLine*>(), &qb::PhoneLine::replyAwaited, &job,
                     [&run](int) { ++run.replies; });
    QEventLoop loop;
    QObject::connect(&job, &qb::Job::finished, &loop, &QEventLoop::quit);
    auto storing = Clock::now();
    QObject::connect(&job, &qb::ReadJob::stageReached, &job, [&storing](qb::ReadStage stage) {
        if (stage == qb::ReadStage::Archive)
            storing = Clock::now();
    });
    const auto start = Clock::now();
    job.start();
    loop.exec();
    run.ms = Ms(Clock::now() - start).count();
    run.storeMs = Ms(Clock::now() - storing).count();
    run.outcome = job.outcome();
    if (run.outcome.read)
        run.result = *run.outcome.read;
    if (run.outcome.phonebook)
        run.phonebook = *run.outcome.phonebook;
    return run;
}

bool complete(const ReadRun& run) {
    return run.outcome.kind == qb::ReadOutcome::Kind::Finished && run.result.inbox.size() == 50 &&
           run.result.outbox.size() == 20 && run.result.draft.size() == 10 &&
           run.phonebook.entries.size() == 100;
}

// Quillbox's read of the whole phone, timed against what the phone itself took.
template <class ReadJob = qb::PhoneReadJob>
bool timedRead(benchmark::State& state, const std::string& device, SimulatedPhone& phone,
               ReadRun& run, double& phoneMs) {
    qb::UsbModem modem;
    modem.devNode = device;
    qb::PhonePort port(modem);
    if (!port.open()) {
        state.SkipWithError("cannot open the pty");
        return false;
    }
    QTemporaryDir workDir;
    const double phoneBefore = phone.answeringMs();
    run = readOnce<ReadJob>(port, workDir.path());
    phoneMs = phone.answeringMs() - phoneBefore;
    if (!complete(run)) {
        state.SkipWithError("the read did not get every message and contact");
        return false;
    }
    return true;
}

// Against the phone's own time: the read may take at most 1.1 times the sum
// of the phone's delays. Arg: the phone's delay per answer.
template <class ReadJob> void readAgainstPhoneTime(benchmark::State& state) {
    Pty pty;
    SimulatedPhone phone(pty.master, int(state.range(0)),
                         std::is_same_v<ReadJob, qb::StandardReadJob>);
    ReadRun run;
    double phoneMs = 0;
    double readMs = 0;
    double storeMs = 0;
    for (auto _ : state) {
        if (!timedRead<ReadJob>(state, pty.slave, phone, run, phoneMs))
            return;
        state.SetIterationTime(run.ms / 1000.0);
        readMs += run.ms;
        storeMs += run.storeMs;
    }
    state.counters["store_ms"] = storeMs / double(state.iterations());
    readMs /= double(state.iterations());
    const double targetMs = 1.1 * phoneMs;
    state.counters["replies"] = run.replies;
    state.counters["phone_ms"] = phoneMs;
    state.counters["read_ms"] = readMs;
    state.counters["target_ms"] = targetMs;
    state.counters["read_per_phone"] = phoneMs > 0 ? readMs / phoneMs : 0;
    // What the quiet-line rule alone would have cost: 150 ms per reply at least.
    state.counters["old_floor_ms"] = run.replies * OldReplyFloorMs;
}

void BM_PhoneReadAgainstPhoneTime(benchmark::State& state) {
    readAgainstPhoneTime<qb::PhoneReadJob>(state);
}

// The same for the standard read of the same messages in two storages.
void BM_StandardReadAgainstPhoneTime(benchmark::State& state) {
    readAgainstPhoneTime<qb::StandardReadJob>(state);
}

// gammu's "getallsms" on its own private configuration, pointed at the pty.
// Returns the wall time in ms, or a negative value when gammu failed.
double timedGammu(const std::string& device, int& messages) {
    QTemporaryDir dir;
    const QString rc = dir.filePath("gammurc");
    std::ofstream(rc.toStdString()) << "[gammu]\ndevice = " << device << "\nconnection = at\n";
    QProcess gammu;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8"); // or Cyrillic texts come out as question marks
    gammu.setProcessEnvironment(env);
    const auto start = Clock::now();
    gammu.start("gammu", {"-c", rc, "getallsms"});
    if (!gammu.waitForFinished(120000) || gammu.exitStatus() != QProcess::NormalExit ||
        gammu.exitCode() != 0)
        return -1;
    const double ms = Ms(Clock::now() - start).count();
    messages = 0;
    for (const QByteArray& line : gammu.readAllStandardOutput().split('\n'))
        messages += line.startsWith("Location ") ? 1 : 0;
    return ms;
}

// Against a peer: gammu reads all messages from the same simulated phone,
// then Quillbox reads it, in the same run; Quillbox must take no longer.
void BM_PhoneReadAgainstGammu(benchmark::State& state) {
    Pty pty;
    SimulatedPhone phone(pty.master, int(state.range(0)));
    double gammuMs = 0;
    double readMs = 0;
    int messages = 0;
    ReadRun run;
    double phoneMs = 0;
    for (auto _ : state) {
        const double ms = timedGammu(pty.slave, messages);
        if (ms < 0 || messages != 80) {
            state.SkipWithError("gammu is missing or did not read the 80 messages");
            return;
        }
        if (!timedRead(state, pty.slave, phone, run, phoneMs))
            return;
        state.SetIterationTime(run.ms / 1000.0);
        gammuMs += ms;
        readMs += run.ms;
    }
    gammuMs /= double(state.iterations());
    readMs /= double(state.iterations());
    state.counters["gammu_ms"] = gammuMs;
    state.counters["read_ms"] = readMs;
    state.counters["read_per_gammu"] = readMs / gammuMs;
}

BENCHMARK(BM_PhoneReadAgainstPhoneTime)
    ->Arg(5)
    ->Arg(120)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardReadAgainstPhoneTime)
    ->Arg(5)
    ->Arg(120)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhoneReadAgainstGammu)
    ->Arg(5)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runEventLoopBenchmarks(argc, argv);
}
