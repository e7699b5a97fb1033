#include "phonelink/PhonePort.h"

#include "phonelink/FinalCodeCounter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string_view>

namespace qb {
namespace {

using Clock = std::chrono::steady_clock;

// A phone that stops reading for this long while a command is being written
// is taken as gone.
constexpr int WriteStallMs = 1000;

// The quiet-line rule: the first look at the line, then the quiet that ends a reply.
constexpr std::chrono::milliseconds FirstCheck{50};
constexpr std::chrono::milliseconds CheckInterval{100};

int millisUntil(Clock::time_point when) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
    return int(std::max<long long>(0, left));
}

OpenError classify(int error) {
    switch (error) {
    case EBUSY:
    case EWOULDBLOCK:
        return OpenError::Busy;
    case EACCES:
    case EPERM:
        return OpenError::NoPermission;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return OpenError::Missing;
    default:
        return OpenError::Other;
    }
}

// The device time-out of a termios port is VTIME, in tenths of a second
// (0-255). The descriptor is non-blocking, so it never delays a read or write;
// it is kept only so the value set is the value the device reports back.
int32_t deviceTimeOut(const termios& tio) {
    return int32_t(tio.c_cc[VTIME]) * 100;
}

void setDeviceTimeOut(termios& tio, int32_t milliseconds) {
    const int32_t tenths = std::clamp((milliseconds + 99) / 100, 0, 255);
    tio.c_cc[VTIME] = cc_t(tenths);
    tio.c_cc[VMIN] = tenths == 0 ? 1 : 0;
}

} // namespace

PhonePort::PhonePort(UsbModem modemInfo) : m_modemInfo(std::move(modemInfo)) {}

PhonePort::~PhonePort() {
    if (isOpen())
        close();
}

bool PhonePort::isOpen() {
    if (m_fd < 0)
        return false;
    termios tio{};
    // cdc_acm hangs the tty up on unplug: every ioctl then fails with EIO.
    if (tcgetattr(m_fd, &tio) == 0 && cfgetospeed(&tio) != B0)
        return true;
    close();
    return false;
}

bool PhonePort::open() {
    if (isOpen())
        return true;
    m_fd = ::open(m_modemInfo.devNode.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        m_lastOpenError = classify(errno);
        m_debug = "E Open Phone Failed";
        return false;
    }
    if (!lockAndConfigure()) {
        m_lastOpenError = classify(errno);
        ::close(m_fd);
        m_fd = -1;
        m_debug = "E Open Phone Failed";
        return false;
    }
    m_lastOpenError = OpenError::None;
    setTimeout(m_timeout);
    m_debug = "I Phone Open";
    return true;
}

bool PhonePort::lockAndConfigure() {
    // TIOCEXCL refuses other opens of the tty except by root; flock also holds
    // against root and against a second descriptor in this process. Mocked and
    // some virtual ttys do not know TIOCEXCL.
    if (ioctl(m_fd, TIOCEXCL) < 0 && errno != ENOTTY && errno != EINVAL)
        return false;
    if (flock(m_fd, LOCK_EX | LOCK_NB) < 0)
        return false;
    // Raw mode: the default line discipline would echo every byte back to the
    // phone (which takes it as a command), turn CR into LF, hold back an
    // unterminated line and flush the input on 0x03.
    termios tio{};
    if (tcgetattr(m_fd, &tio) < 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

void PhonePort::close() {
    if (m_fd < 0) {
        m_debug = "E Close Phone Failed";
        return;
    }
    // Linux releases the descriptor even when close reports an error, so it
    // must never be closed a second time.
    const int result = ::close(m_fd);
    m_fd = -1;
    m_debug = result == 0 || errno == EINTR ? "I Phone Close" : "E Close Phone Failed";
}

uint32_t PhonePort::writeData(const void* bytes, uint32_t count) {
    const auto* data = static_cast<const char*>(bytes);
    uint32_t written = 0;
    bool failed = m_fd < 0;
    m_writeStalled = false;
    // The descriptor is non-blocking; a full output buffer waits for room
    // instead of cutting the command short.
    while (!failed && written < count) {
        const ssize_t n = ::write(m_fd, data + written, count - written);
        if (n > 0) {
            written += uint32_t(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{m_fd, POLLOUT, 0};
            const int ready = ::poll(&p, 1, WriteStallMs);
            m_writeStalled = ready == 0;
            failed = ready <= 0 || (p.revents & (POLLERR | POLLHUP));
        } else {
            failed = true;
        }
    }
    m_debug = failed ? "E Phone Write Data Failed" : "I Phone Write Data";
    return written;
}

bool PhonePort::sendCommand(const std::string& command) {
    const std::string line = command + "\r\n";
    if (writeData(line.data(), uint32_t(line.size())) > 0) {
        m_debug = "I Phone Send Command";
        return true;
    }
    m_debug = "E Phone Send Command Failed";
    return false;
}

PhonePort::Drained PhonePort::drainWaiting(std::string& reply) {
    // TIOCINQ is not used: it caps at 4095 and fails on mocked ttys.
    Drained result;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0 || !(p.revents & POLLIN)) {
        result.lineDead = p.revents & (POLLHUP | POLLERR | POLLNVAL);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            reply.append(buffer, size_t(n));
            result.gotBytes = true;
            m_debug = "I Phone Read Command By Ok";
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return result;
        } else {
            // 0 or EIO: the phone hung up; what it sent before stays in reply.
            if (n < 0)
                m_debug = "E Phone Read Command By Ok Failed";
            result.lineDead = true;
            return result;
        }
    }
}

std::string PhonePort::readReply(int /*waitMs*/, int finalCodes) {
    // The wait limit bounded the completion of an overlapped read; reads here
    // take only bytes already waiting and never block, so there is nothing to wait for.
    std::string reply;
    if (m_fd < 0)
        return reply;
    // The reply ends at whichever comes first: the final result codes of the
    // commands it answers, or a check (50 ms after the call, then 100 ms
    // after the previous check) that finds nothing arrived since the one before.
    // Bytes are taken as they arrive, so the codes end the wait at once.
    FinalCodeCounter codes(finalCodes);
    auto check = Clock::now() + FirstCheck;
    bool arrived = false; // since the previous check
    for (;;) {
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, millisUntil(check));
        if (ready < 0 && errno == EINTR)
            continue;
        const bool checking = ready <= 0;
        const std::size_t before = reply.size();
        const Drained drained = drainWaiting(reply);
        codes.feed(std::string_view(reply).substr(before));
        arrived = arrived || drained.gotBytes;
        if (drained.lineDead || codes.complete())
            return reply;
        if (!checking)
            continue;
        if (!arrived)
            return reply;
        arrived = false;
        check = Clock::now() + CheckInterval;
    }
}

void PhonePort::setTimeout(int32_t milliseconds) {
    termios tio{};
    const bool known = m_fd >= 0 && tcgetattr(m_fd, &tio) == 0;
    if (known && milliseconds >= 0 && milliseconds == deviceTimeOut(tio))
        return;
    if (!known) {
        m_debug = "E Phone Set TimeOut Failed";
        return;
    }
    setDeviceTimeOut(tio, milliseconds);
    if (tcsetattr(m_fd, TCSANOW, &tio) < 0) {
        m_debug = "E Phone Set TimeOut Failed";
        return;
    }
    termios back{};
    if (tcgetattr(m_fd, &back) < 0) {
        m_debug = "E Phone Set TimeOut Failed - Error Get TimeOut";
        return;
    }
    m_timeout = deviceTimeOut(back);
}

} // namespace qb
