// quillbox-demo: plugs a simulated RAZR V3 (or, with --phone standard, a
// Nokia 6230i that speaks the standard commands) into a umockdev testbed and
// runs Quillbox against it. Commands on stdin: "unplug", "plug", "quit"; SIGUSR1
// unplugs and SIGUSR2 plugs the phone for scripts.
#include "tools/demo/DemoOptions.h"
#include "tools/demo/MockedPhone.h"
#include "tools/phonesim/SimServer.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Demo {
  public:
    Demo(qb::MockedPhone& phone, qb::SimServer& server) : m_phone(phone), m_server(server) {}
    bool plug();
    void unplug();
    int run(pid_t child, int signals);

  private:
    void command(const std::string& line);
    bool handleSignal(int signals);

    qb::MockedPhone& m_phone;
    qb::SimServer& m_server;
    pid_t m_child = -1;
    int m_status = 0;
    bool m_quit = false;
    std::string m_input;
};

bool Demo::plug() {
    if (m_phone.plugged())
        return true;
    std::string error;
    const int fd = m_phone.plug(error);
    if (fd < 0) {
        std::fprintf(stderr, "quillbox-demo: %s\n", error.c_str());
        return false;
    }
    m_server.attach(fd);
    std::fprintf(stderr, "quillbox-demo: phone plugged in\n");
    return true;
}

void Demo::unplug() {
    if (!m_phone.plugged())
        return;
    m_server.detach();
    m_phone.unplug();
    std::fprintf(stderr, "quillbox-demo: phone unplugged\n");
}

void Demo::command(const std::string& line) {
    if (line == "plug")
        plug();
    else if (line == "unplug")
        unplug();
    else if (line == "quit")
        m_quit = true;
    else if (!line.empty())
        std::fprintf(stderr, "quillbox-demo: commands are plug, unplug, quit\n");
}

// False once the program has ended.
bool Demo::handleSignal(int signals) {
    signalfd_siginfo info{};
    if (read(signals, &info, sizeof info) != sizeof info)
        return true;
    if (info.ssi_signo == SIGUSR1)
        unplug();
    else if (info.ssi_signo == SIGUSR2)
        plug();
    else if (info.ssi_signo == SIGINT || info.ssi_signo == SIGTERM)
        m_quit = true;
    else if (info.ssi_signo == SIGCHLD && waitpid(m_child, &m_status, WNOHANG) == m_child)
        return false;
    return true;
}

int Demo::run(pid_t child, int signals) {
    m_child = child;
    bool stdinOpen = true;
    while (!m_quit) {
        pollfd fds[3] = {
            m_server.pollEntry(), {signals, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        if (poll(fds, 3, m_server.timeoutMs()) < 0 && errno != EINTR)
            break;
        m_server.service(fds[0].revents);
        if (fds[1].revents && !handleSignal(signals))
            return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : 1;
        if (fds[2].revents) {
            char buffer[256];
            const ssize_t n = read(0, buffer, sizeof buffer);
            stdinOpen = n > 0; // without a terminal the demo runs until the program ends
            m_input.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            for (auto nl = m_input.find('\n'); nl != std::string::npos; nl = m_input.find('\n')) {
                command(m_input.substr(0, nl));
                m_input.erase(0, nl + 1);
            }
        }
    }
    kill(child, SIGTERM);
    waitpid(child, &m_status, 0);
    return 0;
}

int blockSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGUSR1, SIGUSR2, SIGCHLD, SIGINT, SIGTERM})
        sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    return signalfd(-1, &set, SFD_CLOEXEC);
}

pid_t startProgram(const qb::DemoOptions& o, const std::string& testbedRoot) {
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    setenv("UMOCKDEV_DIR", testbedRoot.c_str(), 1);
    if (chdir(o.workdir.c_str()) != 0) {
        std::fprintf(stderr, "quillbox-demo: %s: %s\n", o.workdir.c_str(), std::strerror(errno));
        _exit(127);
    }
    std::vector<char*> args{const_cast<char*>(o.program.c_str())};
    for (const auto& arg : o.programArgs)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    std::fprintf(stderr, "quillbox-demo: cannot start %s: %s\n", o.program.c_str(),
                 std::strerror(errno));
    _exit(127);
}

} // namespace

int main(int argc, char** argv) {
    qb::DemoOptions o;
    if (!qb::parseDemoOptions(argc, argv, o))
        return 2;
    qb::reexecUnderPreload(argv); // returns only when already under umockdev's preload
    // Blocked before the testbed starts its threads, which inherit the mask:
    // otherwise a thread of theirs would take the signals.
    const int signals = blockSignals();
    std::FILE* log = o.log.empty() ? stderr : std::fopen(o.log.c_str(), "a");
    try {
        qb::PhoneSimulator simulator(qb::loadPhoneContent(o.content));
        qb::MockedPhone phone(qb::readWholeFile(o.device));
        qb::SimServer server(simulator, o.timing, log ? log : stderr);
        Demo demo(phone, server);
        if (!demo.plug())
            return 1;
        const pid_t child = startProgram(o, phone.rootDir());
        std::fprintf(stderr, "quillbox-demo: running %s in %s\n", o.program.c_str(),
                     o.workdir.c_str());
        return demo.run(child, signals);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillbox-demo: %s\n", e.what());
        return 1;
    }
}
