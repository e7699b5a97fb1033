#include "tools/phonesim/SimServer.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace qb {

namespace {

using namespace std::chrono;

// A pty master reports EIO and POLLHUP while no one has the other side
// open; look again after this pause instead of spinning. It stays short: the
// program closes and re-opens the port at the start of every read, and a phone
// on a real ACM line never notices that, so its first answer must not be late.
constexpr milliseconds ReopenPoll{2};
constexpr std::size_t ReadSize = 4096;

int millisUntil(SimServer::Clock::time_point when) {
    const auto left = duration_cast<milliseconds>(when - SimServer::Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left + 1));
}

} // namespace

SimServer::SimServer(PhoneSimulator& phone, ServeTiming timing, std::FILE* log)
    : m_phone(phone), m_timing(std::move(timing)), m_log(log) {
    m_phone.setCommandObserver([this](std::string_view line) { logCommand(line); });
    const PhoneQuirks& quirks = m_timing.quirks;
    if (!quirks.refusedCommand.empty())
        m_phone.refuse(quirks.refusedCommand, quirks.cmsError);
    if (quirks.any() && !m_timing.shape)
        m_timing.shape = answerShaper(quirks);
}

void SimServer::attach(int fd) {
    m_fd = fd;
    m_eof = false;
    m_pending.clear();
    m_idleUntil = {};
    // Plugged in again, the phone starts afresh.
    m_silent = false;
    m_endless = 0;
    if (fd >= 0)
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

pollfd SimServer::pollEntry() const {
    const bool idle = m_fd < 0 || m_eof || Clock::now() < m_idleUntil;
    const bool writeDue = !m_pending.empty() && m_pending.front().due <= Clock::now();
    return {idle ? -1 : m_fd, static_cast<short>(POLLIN | (writeDue ? POLLOUT : 0)), 0};
}

int SimServer::timeoutMs() const {
    int timeout = -1;
    if (m_fd >= 0 && Clock::now() < m_idleUntil)
        timeout = millisUntil(m_idleUntil);
    if (!m_pending.empty()) {
        const int due = millisUntil(m_pending.front().due);
        timeout = timeout < 0 ? due : std::min(timeout, due);
    }
    return timeout;
}

bool SimServer::service(short revents) {
    if (m_fd < 0 || m_eof)
        return !m_eof;
    if (revents & POLLIN)
        readInput();
    else if (revents & (POLLHUP | POLLERR))
        m_idleUntil = Clock::now() + ReopenPoll;
    writeDue();
    streamEndlessly();
    return !m_eof;
}

void SimServer::readInput() {
    char buffer[ReadSize];
    const ssize_t n = read(m_fd, buffer, sizeof buffer);
    if (n > 0 && m_timing.shape)
        answerEach(std::string_view(buffer, static_cast<std::size_t>(n)));
    else if (n > 0)
        schedule(m_phone.feed(std::string_view(buffer, static_cast<std::size_t>(n))));
    else if (n == 0)
        m_eof = true;
    else if (errno != EAGAIN && errno != EINTR)
        m_idleUntil = Clock::now() + ReopenPoll;
}

void SimServer::schedule(const std::string& output) {
    if (output.empty())
        return;
    const auto now = Clock::now();
    auto due = std::max(now + milliseconds(m_timing.latencyMs), m_nextFree);
    std::size_t size = m_timing.burstBytes;
    if (size == 0)
        size =
            m_timing.bytesPerSecond > 0 ? std::max(1, m_timing.bytesPerSecond / 50) : output.size();
    for (std::size_t pos = 0; pos < output.size(); pos += size) {
        const std::string piece = output.substr(pos, size);
        m_pending.push_back({piece, due});
        if (m_timing.burstBytes > 0)
            due += milliseconds(m_timing.gapMs);
        if (m_timing.bytesPerSecond > 0)
            due += microseconds(piece.size() * 1000000 / m_timing.bytesPerSecond);
    }
    m_nextFree = due;
}

void SimServer::answerEach(std::string_view input) {
    // Commands that came in one read are still answered one by one.
    while (!input.empty()) {
        const std::size_t cr = input.find('\r');
        const std::size_t end = cr == std::string_view::npos ? input.size() : cr + 1;
        const std::string_view line = input.substr(0, end);
        std::string output = m_phone.feed(line);
        input.remove_prefix(end);
        if (output.empty() || m_silent)
            continue;
        if (cr == std::string_view::npos) { // only the echo of a line still being typed
            scheduleShaped(output, {});
            continue;
        }
        answer(line, std::move(output));
    }
}

void SimServer::answer(std::string_view line, std::string output) {
    const PhoneQuirks& quirks = m_timing.quirks;
    if (isCommand(line, quirks.silentCommand)) {
        m_silent = true;
        return;
    }
    if (isCommand(line, quirks.endlessCommand)) {
        // The echo and the start of a reply whose end never comes.
        output.resize(output.find('\r') + 1);
        output += "\r\n";
        m_endless = 1;
    }
    if (quirks.unsolicited)
        output = withUnsolicitedLines(std::move(output), m_answers);
    scheduleShaped(output, m_timing.shape(m_answers++, output));
}

void SimServer::streamEndlessly() {
    if (m_endless == 0 || m_fd < 0 || !m_pending.empty())
        return;
    const std::size_t batch = m_endless++ - 1;
    m_pending.push_back({endlessListingLines(batch), Clock::now()});
}

void SimServer::scheduleShaped(const std::string& answer, const AnswerShape& shape) {
    auto due = std::max(Clock::now(), m_nextFree) + milliseconds(shape.delayMs);
    m_answeringTime += milliseconds(shape.delayMs);
    std::size_t start = 0;
    for (std::size_t chunk = 0; start < answer.size(); ++chunk) {
        std::size_t end = answer.size();
        for (const std::size_t cut : shape.cuts) {
            if (cut > start && cut < end)
                end = cut;
        }
        if (chunk > 0 && !shape.gapsMs.empty()) {
            const int gap = shape.gapsMs[std::min(chunk - 1, shape.gapsMs.size() - 1)];
            due += milliseconds(gap);
            m_answeringTime += milliseconds(gap);
        }
        m_pending.push_back({answer.substr(start, end - start), due});
        start = end;
    }
    m_nextFree = due;
}

void SimServer::writeDue() {
    while (!m_pending.empty() && m_pending.front().due <= Clock::now()) {
        std::string& bytes = m_pending.front().bytes;
        const ssize_t n = write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (n < 0) { // the other side is gone: what it did not read is lost
            m_pending.clear();
            return;
        }
        bytes.erase(0, static_cast<std::size_t>(n));
        if (bytes.empty())
            m_pending.pop_front();
    }
}

void SimServer::logCommand(std::string_view line) {
    if (!m_log)
        return;
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::string shown;
    for (const char c : line) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        shown += static_cast<unsigned char>(c) < 0x20 ? std::string(escaped) : std::string(1, c);
    }
    std::fprintf(m_log, "%s.%03ld %s\n", stamp, ts.tv_nsec / 1000000, shown.c_str());
    std::fflush(m_log);
}

void serveUntilStopped(SimServer& server, int stopFd) {
    for (;;) {
        pollfd fds[2] = {server.pollEntry(), {stopFd, POLLIN, 0}};
        if (poll(fds, 2, server.timeoutMs()) < 0 && errno != EINTR)
            return;
        if (fds[1].revents)
            return;
        if (!server.service(fds[0].revents))
            return;
    }
}

} // namespace qb
