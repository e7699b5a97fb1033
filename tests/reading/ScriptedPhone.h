#pragma once
// A phone for the dialogue tests: it echoes every command line, answers it from
// a script on the event loop and records what it was sent. Pulling the plug
// makes it behave like a port whose device went away: it hangs up, closed and
// unable to open again.
#include "core/Job.h"
#include "phonelink/AtPort.h"
#include "reading/PhoneCommands.h"
#include "reading/PhoneLine.h"
#include "tests/phonelink/ReplyWait.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb::test {

class ScriptedPhone : public AtPort {
  public:
    ScriptedPhone() { ensureApplication(); }

    // The answer the phone gives after echoing `command`, every time.
    void answer(const std::string& command, std::string reply) {
        m_script[command] = {std::move(reply)};
    }
    // One more answer to `command`, given after the earlier ones; the last one repeats.
    void thenAnswer(const std::string& command, std::string reply) {
        m_script[command].push_back(std::move(reply));
    }

    bool open() override {
        m_open = m_plugged && openFailure == OpenError::None;
        m_openError = !m_plugged ? OpenError::Missing : openFailure;
        if (m_open && !leftover.empty()) {
            QTimer::singleShot(0, this, [this, bytes = leftover] {
                if (m_open)
                    emit received(bytes);
            });
        }
        return m_open;
    }
    void close() override { m_open = false; }
    bool isOpen() override { return m_open; }
    bool sendCommand(const std::string& command) override {
        if (!m_open)
            return false;
        if (command == stallAt) {
            // Taken in part or not at all: the rest waits until the port gives up.
            m_stalled = true;
            QTimer::singleShot(0, this, [this] {
                m_stalled = false;
                emit lost(PortLoss::Stalled);
            });
            return true;
        }
        if (m_stalled)
            return true; // queued behind the stalled command, never written
        sent.push_back(command);
        if (!silent) {
            QTimer::singleShot(0, this, [this, bytes = command + "\r\n" + replyTo(command)] {
                if (m_open)
                    emit received(bytes);
            });
        }
        if (onSent)
            onSent(command);
        return true;
    }
    bool hasPendingOutput() const override { return m_stalled; }
    OpenError lastOpenError() const override { return m_openError; }

    void unplug() {
        m_plugged = m_open = false;
        emit lost(PortLoss::HungUp);
    }

    std::vector<std::string> sent;
    bool silent = false; // takes commands but never answers, not even with the echo
    OpenError openFailure = OpenError::None; // every open fails so while plugged in
    std::string stallAt;                     // this command is not taken whole
    std::string leftover; // sent on every open: what an abandoned reply left on the line
    std::function<void(const std::string&)> onSent;

  private:
    std::string replyTo(const std::string& command) {
        auto found = m_script.find(command);
        if (found == m_script.end())
            return "OK\r\n";
        auto& replies = found->second;
        std::string reply = replies.front();
        if (replies.size() > 1)
            replies.pop_front();
        return reply;
    }

    std::map<std::string, std::deque<std::string>> m_script;
    bool m_plugged = true;
    bool m_open = true;
    bool m_stalled = false;
    OpenError m_openError = OpenError::None;
};

// Bounds short enough that a phone that never answers ends a test quickly.
inline DialogueLimits quickLimits() {
    DialogueLimits limits;
    // Unanswered, rather than stopped half-way, unless the phone stops after beginning.
    for (ReplyLimits* bounds : {&limits.command, &limits.listing, &limits.phonebook}) {
        bounds->answerMs = 300;
        bounds->silenceMs = 600;
    }
    return limits;
}

// Starts the job and lets the event loop run until it has finished; false
// when it did not finish exactly once.
inline bool runToEnd(Job& job, std::vector<int>* finalCodesWanted = nullptr) {
    ensureApplication();
    if (finalCodesWanted) {
        QObject::connect(job.findChild<PhoneLine*>(), &PhoneLine::replyAwaited, &job,
                         [finalCodesWanted](int codes) { finalCodesWanted->push_back(codes); });
    }
    QSignalSpy finished(&job, &Job::finished);
    job.start();
    if (finished.isEmpty() && !finished.wait(60000))
        return false;
    QCoreApplication::sendPostedEvents();
    QTimer settle;
    QSignalSpy settled(&settle, &QTimer::timeout);
    settle.start(10);
    settled.wait(1000);
    return finished.count() == 1;
}

// What a job showed on the bar, as the window would see it.
struct ProgressLog {
    explicit ProgressLog(Job& job) {
        QObject::connect(&job.progress(), &ProgressSignal::changed, &job,
                         [this](const ProgressState& state) {
                             if (state.maximum != last.maximum)
                                 maximums.push_back(state.maximum);
                             last = state;
                         });
    }
    ProgressState last;
    std::vector<int> maximums; // each change of the maximum, in order
};

// ASCII text as the phone sends it after AT+CSCS=UCS2.
inline std::string ucs2(std::string_view ascii) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : ascii)
        hex += std::string("00") + digits[c >> 4] + digits[c & 15];
    return hex;
}

} // namespace qb::test
