#pragma once
// The phone's end of a tty for the port tests: a pty master (or umockdev's
// side of a mocked tty) that the test writes replies to and reads commands from.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace qb::test {

inline void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

inline void writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += size_t(n);
        else
            sleepMs(1);
    }
}

// Whatever arrives within the time limit (the phone's view of the line).
inline std::string readFor(int fd, int ms) {
    std::string got;
    char buffer[4096];
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN))
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, size_t(n));
    }
    return got;
}

// A pty pair: the master is the phone, slavePath the port the program opens.
struct Pty {
    int master = -1;
    std::string slavePath;

    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slavePath = ptsname(master);
    }
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Like pulling the cable: the kernel hangs up the other side.
    void hangUp() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
};

} // namespace qb::test
