#pragma once
// The simulated phone on a pty, answered from a thread of its own: a port
// the program opens by its path, with a phone behind it that takes its time
// as the quirks say, or answers at once.
#include "tests/e2e/ServingLoop.h"
#include "tests/phonelink/PhoneSide.h"
#include "tools/phonesim/SimServer.h"

#include <fcntl.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qb::test {

class PtyPhone {
  public:
    PtyPhone(std::string_view content, const PhoneQuirks& quirks)
        : m_phone(parsePhoneContent(content)), m_server(m_phone, timing(quirks), nullptr) {
        m_phone.setCommandObserver([this](std::string_view line) { commands.emplace_back(line); });
        m_server.attach(pty.master);
        if (pipe2(m_stop, O_CLOEXEC) == 0)
            m_thread =
                std::thread([this] { e2e::serveThroughReopens(m_server, m_stop[0], m_guard); });
    }
    ~PtyPhone() {
        stop();
        ::close(m_stop[0]);
        ::close(m_stop[1]);
    }
    PtyPhone(const PtyPhone&) = delete;
    PtyPhone& operator=(const PtyPhone&) = delete;

    // Pulls the cable: the phone stops answering and the port's side hangs up.
    void unplug() {
        stop();
        pty.hangUp();
    }

    Pty pty;
    std::vector<std::string> commands; // read once the phone has stopped

  private:
    static ServeTiming timing(const PhoneQuirks& quirks) {
        ServeTiming timing;
        timing.quirks = quirks;
        if (!quirks.any()) // every answer at once, whole
            timing.shape = [](std::size_t, std::string_view) { return AnswerShape{}; };
        return timing;
    }
    void stop() {
        if (!m_thread.joinable())
            return;
        [[maybe_unused]] const ssize_t n = ::write(m_stop[1], "s", 1);
        m_thread.join();
    }

    PhoneSimulator m_phone;
    SimServer m_server;
    std::mutex m_guard;
    int m_stop[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace qb::test
