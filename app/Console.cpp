#include "app/Console.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard stream started closed would lend its number to the next file
// opened, and what is said there would land in an exported file. /dev/null
// takes the number instead; a closed stdout still leaves the summary unsaid.
bool stdoutClosed = false;

bool write(std::FILE* stream, const QString& text) {
    if (stream == stdout && stdoutClosed) {
        errno = EBADF;
        return false;
    }
    const bool put = std::fputs(qPrintable(text), stream) >= 0;
    const int error = errno;
    const bool flushed = std::fflush(stream) == 0;
    if (!put)
        errno = error;
    return flushed && put;
}

} // namespace

void guardStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        stdoutClosed = stdoutClosed || fd == 1;
        ::open("/dev/null", O_RDWR); // the lowest free number: this one
    }
}

bool say(std::FILE* stream, const QString& text) {
    return write(stream, text + QLatin1Char('\n'));
}

bool put(std::FILE* stream, const QString& text) {
    return write(stream, text);
}

bool stdoutWritten() {
    return !stdoutClosed && std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void complain(const QString& text) {
    say(stderr, QStringLiteral("quillbox: ") + text);
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}
