#pragma once
// Serves a PhoneSimulator on a file descriptor (a pty master, a tty, a
// socket) with the timing of a real phone: a pause before the first byte and
// replies cut into bursts or limited in rate. Single-threaded and poll-based,
// so a caller can watch its own descriptors in the same loop.
#include "tools/phonesim/AnswerShape.h"
#include "tools/phonesim/PhoneQuirks.h"
#include "tools/phonesim/PhoneSimulator.h"

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

struct ServeTiming {
    int latencyMs = 20;         // before the first byte of an answer
    std::size_t burstBytes = 0; // 0: the whole answer at once
    int gapMs = 0;              // between bursts
    int bytesPerSecond = 0;     // 0: no limit
    // When set, each command's answer is shaped on its own and the others
    // above are not used. The phone works on one command at a time: an
    // answer's delay starts when the previous answer has gone out.
    AnswerShaper shape;
    // Real phones' ways; any of them shapes every answer (by the quirks'
    // timing, unless `shape` is set).
    PhoneQuirks quirks;
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

    // With a shaper: the answers given so far and the time the phone spent on
    // them by its own choice (their delays and gaps), the floor for any host.
    std::size_t answers() const { return m_answers; }
    std::chrono::milliseconds answeringTime() const { return m_answeringTime; }

  private:
    struct Chunk {
        std::string bytes;
        Clock::time_point due;
    };
    void readInput();
    void schedule(const std::string& output);
    void answerEach(std::string_view input);
    void answer(std::string_view line, std::string output);
    void scheduleShaped(const std::string& answer, const AnswerShape& shape);
    void writeDue();
    void streamEndlessly();
    void logCommand(std::string_view line);

    PhoneSimulator& m_phone;
    ServeTiming m_timing;
    std::FILE* m_log;
    int m_fd = -1;
    bool m_eof = false;
    std::deque<Chunk> m_pending;
    Clock::time_point m_nextFree{};
    Clock::time_point m_idleUntil{};
    std::size_t m_answers = 0;
    std::chrono::milliseconds m_answeringTime{0};
    bool m_silent = false;     // the phone hangs: it takes commands and sends nothing
    std::size_t m_endless = 0; // batches of a reply that never ends sent so far, plus one
};

// Serves until end of file on the served descriptor or input on stopFd.
void serveUntilStopped(SimServer& server, int stopFd);

} // namespace qb
