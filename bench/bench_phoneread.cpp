// The phone read's cost above its protocol floor. Each reply the read waits
// for takes at least 150 ms by the quiet-line rule (50 ms before the first
// look, 100 ms of quiet after the last chunk), so with a phone that answers at
// once the read can take no less than replies x 150 ms; what it takes beyond
// that is its own overhead: decoding, sorting, merging, writing the files.
#include "phonelink/PhonePort.h"
#include "reading/dialogue/PhoneRead.h"
#include "tests/e2e/ServingLoop.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr double ReplyFloorMs = 150;

// Counts the replies the read waits for; everything else goes straight through.
class CountingPort : public qb::AtPort {
  public:
    explicit CountingPort(qb::AtPort& port) : m_port(port) {}
    bool open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() override { return m_port.isOpen(); }
    bool sendCommand(const std::string& command) override { return m_port.sendCommand(command); }
    std::string readReply(int waitMs) override {
        ++replies;
        const auto start = Clock::now();
        std::string reply = m_port.readReply(waitMs);
        waitedMs += Ms(Clock::now() - start).count();
        return reply;
    }
    int replies = 0;
    double waitedMs = 0; // inside readReply: the floor plus any extra chunks of long replies

  private:
    qb::AtPort& m_port;
};

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

struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string slave;
    Pty() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = ptsname(master);
    }
    ~Pty() { ::close(master); }
};

// The simulator on its own thread, as a phone answers while the read waits.
class InstantPhone {
  public:
    explicit InstantPhone(int fd) : m_phone(busyPhone()), m_server(m_phone, instant(), nullptr) {
        m_server.attach(fd);
        if (pipe2(m_stop, O_CLOEXEC) == 0)
            m_thread =
                std::thread([this] { qb::e2e::serveThroughReopens(m_server, m_stop[0], m_guard); });
    }
    ~InstantPhone() {
        [[maybe_unused]] const ssize_t n = ::write(m_stop[1], "s", 1);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_stop[0]);
        ::close(m_stop[1]);
    }

  private:
    static qb::ServeTiming instant() {
        qb::ServeTiming timing;
        timing.latencyMs = 0;
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
    double waitedMs = 0;
    double ms = 0;
};

ReadRun readOnce(qb::AtPort& port, const QString& workDir) {
    CountingPort counting(port);
    qb::NullProgress progress;
    ReadRun run;
    qb::ReadContext context{[&counting]() -> qb::AtPort* { return &counting; },
                            progress,
                            run.result,
                            run.phonebook,
                            workDir};
    const auto start = Clock::now();
    run.outcome = qb::readPhone(context);
    run.ms = Ms(Clock::now() - start).count();
    run.replies = counting.replies;
    run.waitedMs = counting.waitedMs;
    return run;
}

bool complete(const ReadRun& run) {
    return run.outcome.kind == qb::ReadOutcome::Kind::Finished && run.result.inbox.count() == 50 &&
           run.result.outbox.count() == 20 && run.result.draft.count() == 10 &&
           run.phonebook.entries.size() == 100;
}

void BM_PhoneReadOverFloor(benchmark::State& state) {
    Pty pty;
    qb::UsbModem info;
    info.devNode = pty.slave;
    qb::PhonePort port(info);
    if (pty.slave.empty() || !port.open()) {
        state.SkipWithError("cannot open the pty");
        return;
    }
    InstantPhone phone(pty.master);
    double overheadMs = 0;
    double outsideMs = 0;
    double floorMs = 0;
    int replies = 0;
    for (auto _ : state) {
        QTemporaryDir workDir;
        const ReadRun run = readOnce(port, workDir.path());
        if (!complete(run)) {
            state.SkipWithError("the read did not get every message and contact");
            return;
        }
        state.SetIterationTime(run.ms / 1000.0);
        replies = run.replies;
        floorMs = replies * ReplyFloorMs;
        overheadMs += run.ms - floorMs;
        outsideMs += run.ms - run.waitedMs;
    }
    overheadMs /= double(state.iterations());
    outsideMs /= double(state.iterations());
    state.counters["replies"] = replies;
    state.counters["floor_ms"] = floorMs;
    state.counters["overhead_ms"] = overheadMs;
    state.counters["overhead_pct"] = 100 * overheadMs / floorMs;
    // The read's own work alone, outside every wait for the phone.
    state.counters["outside_replies_ms"] = outsideMs;
}

BENCHMARK(BM_PhoneReadOverFloor)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
