// phonesim: serves a simulated phone (Motorola or standard) on a pty, a descriptor or a tty.
#include "tools/phonesim/SimServer.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char Usage[] =
    "usage: phonesim --content FILE (--pty | --fd N | --tty PATH)\n"
    "                [--latency MS] [--burst N --gap MS] [--rate BYTES_PER_S] [--log FILE]\n"
    "                [--delays MS[,MS...]] [phone quirks]\n";

struct Options {
    std::string content, tty, log;
    bool pty = false;
    int fd = -1;
    qb::ServeTiming timing;
    std::vector<int> delays;
};

std::vector<int> numberList(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        numbers.push_back(std::atoi(text.substr(start, comma - start).c_str()));
        start = comma + 1;
    }
    return numbers;
}

// Answer n waits the n-th delay (the last one repeats), in bursts if asked.
qb::AnswerShaper delayEachAnswer(std::vector<int> delays, std::size_t burst, int gap) {
    return [delays, burst, gap](std::size_t answer, std::string_view bytes) {
        qb::AnswerShape shape;
        shape.delayMs = delays[std::min(answer, delays.size() - 1)];
        for (std::size_t cut = burst; burst > 0 && cut < bytes.size(); cut += burst)
            shape.cuts.push_back(cut);
        shape.gapsMs = {gap};
        return shape;
    };
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        if (const int taken = qb::takeQuirkOption(argc, argv, i, o.timing.quirks); taken != 0) {
            if (taken < 0)
                return false;
            i += taken - 1;
            continue;
        }
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const char* value = hasValue ? argv[i + 1] : "";
        if (arg == "--pty") {
            o.pty = true;
            continue;
        }
        if (!hasValue)
            return false;
        ++i;
        if (arg == "--content")
            o.content = value;
        else if (arg == "--fd")
            o.fd = std::atoi(value);
        else if (arg == "--tty")
            o.tty = value;
        else if (arg == "--log")
            o.log = value;
        else if (arg == "--latency")
            o.timing.latencyMs = std::atoi(value);
        else if (arg == "--burst")
            o.timing.burstBytes = static_cast<std::size_t>(std::atol(value));
        else if (arg == "--gap")
            o.timing.gapMs = std::atoi(value);
        else if (arg == "--rate")
            o.timing.bytesPerSecond = std::atoi(value);
        else if (arg == "--delays")
            o.delays = numberList(value);
        else
            return false;
    }
    if (!o.delays.empty())
        o.timing.shape = delayEachAnswer(o.delays, o.timing.burstBytes, o.timing.gapMs);
    const int targets = int(o.pty) + int(o.fd >= 0) + int(!o.tty.empty());
    return !o.content.empty() && targets == 1;
}

void makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &t);
    }
}

// Keeps the slave open here too, so the master never reports a hang-up
// between two clients, and in raw mode so nothing is echoed before a client
// sets its own mode.
int openPty(int& keptSlave) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return -1;
    const char* slave = ptsname(master);
    keptSlave = open(slave, O_RDWR | O_NOCTTY | O_CLOEXEC);
    makeRaw(keptSlave);
    std::printf("%s\n", slave);
    std::fflush(stdout);
    return master;
}

int stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    return signalfd(-1, &set, SFD_CLOEXEC);
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fputs(Usage, stderr);
        std::fputs(qb::QuirksUsage, stderr);
        return 2;
    }
    qb::PhoneSimulator phone;
    try {
        phone = qb::PhoneSimulator(qb::loadPhoneContent(o.content));
    } catch (const qb::ContentError& e) {
        std::fprintf(stderr, "phonesim: %s: %s\n", o.content.c_str(), e.what());
        return 1;
    }
    std::FILE* log = o.log.empty() ? stderr : std::fopen(o.log.c_str(), "a");
    if (!log) {
        std::fprintf(stderr, "phonesim: cannot write %s: %s\n", o.log.c_str(),
                     std::strerror(errno));
        return 1;
    }
    int keptSlave = -1;
    int fd = o.fd;
    if (o.pty)
        fd = openPty(keptSlave);
    else if (!o.tty.empty()) {
        fd = open(o.tty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        makeRaw(fd);
    }
    if (fd < 0) {
        std::fprintf(stderr, "phonesim: cannot open the line: %s\n", std::strerror(errno));
        return 1;
    }
    qb::SimServer server(phone, o.timing, log);
    server.attach(fd);
    qb::serveUntilStopped(server, stopSignals());
    return 0;
}
