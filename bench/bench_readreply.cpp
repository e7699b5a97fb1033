// The reply framing's cost above the quiet-line rule itself, on a pty. The rule alone
// takes 50 ms to the first check, then 100 ms after each read until a check
// finds the line quiet; the overhead is the measured time minus that floor,
// given when the phone's last byte actually went out.
#include "phonelink/PhonePort.h"
#include "phonelink/ReplyReader.h"
#include "support/WidgetBenchmarks.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

struct Pty {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string slave;
    Pty() {
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = ptsname(master);
    }
    ~Pty() { ::close(master); }
};

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

// The floor for a reply whose last byte left at lastMs: the read that takes it
// happens at the first check at or after it (50, 150, 250 ... ms), and one
// more check 100 ms later finds the line quiet.
double floorMs(double lastMs) {
    const double checks = lastMs <= 50 ? 0 : std::ceil((lastMs - 50) / 100);
    return 50 + 100 * checks + 100;
}

// The phone sends `chunks` pieces of `chunkSize` bytes, `gapUs` apart, from 5 ms on.
void replyOverhead(benchmark::State& state, int chunks, size_t chunkSize, int gapUs) {
    Pty pty;
    qb::UsbModem info;
    info.devNode = pty.slave;
    qb::PhonePort port(info);
    qb::ReplyReader reader(&port);
    if (!port.open()) {
        state.SkipWithError("cannot open the pty");
        return;
    }
    const std::string chunk(chunkSize, 'x');
    for (auto _ : state) {
        double lastMs = 0;
        const auto start = Clock::now();
        std::thread phone([&] {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(5));
            for (int i = 0; i < chunks; ++i) {
                writeAll(pty.master, chunk.data(), chunk.size());
                lastMs = Ms(Clock::now() - start).count();
                std::this_thread::sleep_for(std::chrono::microseconds(gapUs));
            }
        });
        std::string reply;
        QEventLoop loop;
        reader.read({}, [&](qb::Reply got) {
            reply = std::move(got.bytes);
            loop.quit();
        });
        loop.exec();
        const double elapsed = Ms(Clock::now() - start).count();
        phone.join();
        if (reply.size() != chunkSize * size_t(chunks)) {
            state.SkipWithError("reply incomplete");
            return;
        }
        state.SetIterationTime((elapsed - floorMs(lastMs)) / 1000.0);
    }
}

void BM_ReadReplyOneBurst(benchmark::State& state) {
    replyOverhead(state, 1, 6, 0);
}
void BM_ReadReply7KBIn100Chunks(benchmark::State& state) {
    replyOverhead(state, 100, 72, 1000);
}

BENCHMARK(BM_ReadReplyOneBurst)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadReply7KBIn100Chunks)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runEventLoopBenchmarks(argc, argv);
}
