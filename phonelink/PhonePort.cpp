#include "phonelink/PhonePort.h"

#include <QPointer>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

// The tty is driven through termios and QSocketNotifier rather than
// QSerialPort: QSerialPort reports EBUSY and EACCES alike as PermissionError,
// and the read tells the user different things for a port another program
// holds and for one they may not open.

namespace qb {
namespace {

// A phone that takes no byte of a command for this long, while the line stays
// up, is taken as stalled.
constexpr int WriteStallMs = 1000;

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

PhonePort::PhonePort(UsbModem modemInfo, QObject* parent)
    : AtPort(parent), m_modemInfo(std::move(modemInfo)) {
    m_stall.setSingleShot(true);
    m_stall.setInterval(WriteStallMs);
    connect(&m_stall, &QTimer::timeout, this, &PhonePort::stallExpired);
}

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
    watch();
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

void PhonePort::watch() {
    m_readable = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &PhonePort::readWaiting);
    m_writable = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &PhonePort::writeQueued);
}

void PhonePort::close() {
    if (m_fd < 0) {
        m_debug = "E Close Phone Failed";
        return;
    }
    // The notifiers must go before the descriptor they watch.
    delete m_readable;
    delete m_writable;
    m_readable = m_writable = nullptr;
    m_output.clear();
    m_stall.stop();
    // Linux releases the descriptor even when close reports an error, so it
    // must never be closed a second time.
    const int result = ::close(m_fd);
    m_fd = -1;
    m_debug = result == 0 || errno == EINTR ? "I Phone Close" : "E Close Phone Failed";
}

bool PhonePort::sendCommand(const std::string& command) {
    if (m_fd < 0) {
        m_debug = "E Phone Send Command Failed";
        return false;
    }
    m_output += command + "\r\n";
    writeQueued();
    if (m_fd < 0) {
        m_debug = "E Phone Send Command Failed";
        return false;
    }
    m_debug = "I Phone Send Command";
    return true;
}

void PhonePort::writeQueued() {
    while (m_fd >= 0 && !m_output.empty()) {
        const ssize_t n = ::write(m_fd, m_output.data(), m_output.size());
        if (n > 0) {
            m_output.erase(0, size_t(n));
            m_stall.start();
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            // A full output buffer waits for room instead of cutting the command short.
            m_writable->setEnabled(true);
            if (!m_stall.isActive())
                m_stall.start();
            return;
        } else {
            m_debug = "E Phone Write Data Failed";
            hangUp();
            return;
        }
    }
    if (m_fd < 0)
        return;
    m_stall.stop();
    m_writable->setEnabled(false);
    m_debug = "I Phone Write Data";
    emit outputWritten();
}

void PhonePort::stallExpired() {
    if (m_output.empty())
        return;
    if (!isOpen()) {
        hangUp();
        return;
    }
    // The command was cut short; the phone would take whatever followed for garbage.
    m_output.clear();
    m_writable->setEnabled(false);
    m_debug = "E Phone Write Data Failed";
    emit lost(PortLoss::Stalled);
}

void PhonePort::readWaiting() {
    // TIOCINQ is not used: it caps at 4095 and fails on mocked ttys.
    std::string bytes;
    char buffer[4096];
    bool dead = false;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, size_t(n));
            m_debug = "I Phone Read Command By Ok";
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            break;
        } else {
            // 0 or EIO: the phone hung up; what it sent before still counts.
            if (n < 0)
                m_debug = "E Phone Read Command By Ok Failed";
            dead = true;
            break;
        }
    }
    // A receiver may end the dialogue and let the watcher drop this port.
    const QPointer<PhonePort> alive(this);
    if (!bytes.empty())
        emit received(bytes);
    if (alive && dead && m_fd >= 0)
        hangUp();
}

void PhonePort::hangUp() {
    if (m_fd >= 0)
        close();
    emit lost(PortLoss::HungUp);
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
