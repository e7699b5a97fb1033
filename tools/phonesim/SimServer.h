#pragma once
// Serves a PhoneSimulator on a file descriptor (a pty master, a tty, a
// socket) with the timing of a real phone: a pause before the first byte and
// replies cut into bursts or limited in rate. Single-threaded and poll-based,
// so a caller can watch its own descriptors in the same loop.
#include "tools/phonesim/PhoneSimulator.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <string>

namespace qb {

struct ServeTiming {
    int latencyMs = 20;         // before the first byte of an answer
    std::size_t burstBytes = 0; // 0: the whole answer at once
    int gapMs = 0;              // between bursts
    int bytesPerSecond = 0;     // 0: no limit
};

class SimServer {
public:
    using Clock = std::chrono::steady_clock;

    SimServer(PhoneSimulator& phone, ServeTiming timing, std::FILE* log = stderr);

    // Serves fd (not owned; made non-blocking). Output still pending is dropped.
    void attach(int fd);
    void detach() { attach(-1); }

    // What to watch in poll(): fd is -1 while nothing is to be done, for
    // instance while a pty's other side is not open.
    pollfd pollEntry() const;
    // The longest a poll may wait before service() has work due; -1: no limit.
    int timeoutMs() const;
    // Reads and answers, writes what is due. False once the descriptor
    // reached end of file (a socket or pipe closed by the client).
    bool service(short revents);

private:
    struct Chunk {
        std::string bytes;
        Clock::time_point due;
    };
    void readInput();
    void schedule(const std::string& output);
    void writeDue();
    void logCommand(std::string_view line);

    PhoneSimulator& m_phone;
    ServeTiming m_timing;
    std::FILE* m_log;
    int m_fd = -1;
    bool m_eof = false;
    std::deque<Chunk> m_pending;
    Clock::time_point m_nextFree{};
    Clock::time_point m_idleUntil{};
};

// Serves until end of file on the served descriptor or input on stopFd.
void serveUntilStopped(SimServer& server, int stopFd);

} // namespace qb
