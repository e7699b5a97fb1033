#include "ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string_view>

namespace qb::test {
namespace {

// Made before the fork: the child of a process with threads only calls
// what is safe after one.
struct Exec {
    std::vector<char*> argv;
    std::vector<char*> envp;
};

Exec prepare(const ProgramStart& start) {
    Exec exec;
    exec.argv.push_back(const_cast<char*>(QUILLBOX_PROGRAM));
    for (const std::string& argument : start.arguments)
        exec.argv.push_back(const_cast<char*>(argument.c_str()));
    exec.argv.push_back(nullptr);
    const auto overridden = [&start](std::string_view entry) {
        for (const std::string& own : start.environment)
            if (entry.substr(0, entry.find('=') + 1) == own.substr(0, own.find('=') + 1))
                return true;
        return false;
    };
    for (char** entry = environ; *entry; ++entry)
        if (!overridden(*entry))
            exec.envp.push_back(*entry);
    for (const std::string& entry : start.environment)
        exec.envp.push_back(const_cast<char*>(entry.c_str()));
    exec.envp.push_back(nullptr);
    return exec;
}

[[noreturn]] void execProgram(const ProgramStart& start, Exec& exec) {
    if (::chdir(start.workDir.c_str()) != 0)
        ::_exit(126);
    ::execve(exec.argv[0], exec.argv.data(), exec.envp.data());
    ::_exit(127);
}

// Appends what `fd` has; false once it has reached its end (or, for a
// terminal's master, once the program's side is closed).
bool drain(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, std::size_t(n));
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }
}

} // namespace

ProgramRun runProgram(const ProgramStart& start) {
    ProgramRun run;
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    int terminal = -1;
    pid_t pid;
    Exec exec = prepare(start);
    if (start.onTerminal) {
        pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (pid == 0)
            execProgram(start, exec);
    } else {
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return run;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            execProgram(start, exec);
        }
        ::close(out[1]);
        ::close(err[1]);
    }
    if (pid < 0)
        return run;
    const int outFd = start.onTerminal ? terminal : out[0];
    const int errFd = start.onTerminal ? -1 : err[0];
    for (const int fd : {outFd, errFd})
        if (fd >= 0)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::string& said = start.onTerminal ? run.out : run.err;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(start.limitMs);
    bool outOpen = true;
    bool errOpen = errFd >= 0;
    while (outOpen || errOpen) {
        pollfd fds[2] = {{outOpen ? outFd : -1, POLLIN, 0}, {errOpen ? errFd : -1, POLLIN, 0}};
        ::poll(fds, 2, 10);
        if (outOpen && fds[0].revents)
            outOpen = drain(outFd, run.out);
        if (errOpen && fds[1].revents)
            errOpen = drain(errFd, run.err);
        if (start.whileRunning)
            start.whileRunning(pid, said);
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    for (const int fd : {outFd, errFd})
        if (fd >= 0)
            ::close(fd);
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    return run;
}

} // namespace qb::test
