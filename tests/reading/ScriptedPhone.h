#pragma once
// A phone for the dialogue tests: it echoes every command line, answers it from
// a script and records what it was sent. Pulling the plug makes it behave like
// a port whose device went away: closed, and unable to open again.
#include "core/Progress.h"
#include "phonelink/AtPort.h"

#include <deque>
#include <functional>
#include <map>
#include <string_view>
#include <utility>
#include <string>
#include <vector>

namespace qb::test {

class ScriptedPhone : public AtPort {
public:
    // The answer the phone gives after echoing `command`, every time.
    void answer(const std::string& command, std::string reply) { m_script[command] = {std::move(reply)}; }
    // One more answer to `command`, given after the earlier ones; the last one repeats.
    void thenAnswer(const std::string& command, std::string reply) { m_script[command].push_back(std::move(reply)); }

    bool open() override
    {
        m_open = m_plugged && openFailure == OpenError::None;
        m_openError = !m_plugged ? OpenError::Missing : openFailure;
        return m_open;
    }
    void close() override { m_open = false; }
    bool isOpen() override { return m_open; }
    bool sendCommand(const std::string& command) override
    {
        m_stalled = false;
        if (!m_open)
            return false;
        if (command == stallAt) {
            m_stalled = true;
            return stalledAfterSomeBytes;
        }
        sent.push_back(command);
        if (!silent)
            m_pending += command + "\r\n" + replyTo(command);
        return true;
    }
    std::string readReply(int, int finalCodes) override
    {
        ++replyReads;
        finalCodesWanted.push_back(finalCodes);
        return std::exchange(m_pending, {});
    }

    OpenError lastOpenError() const override { return m_openError; }
    bool writeStalled() const override { return m_stalled; }

    void unplug() { m_plugged = m_open = false; }

    std::vector<std::string> sent;
    int replyReads = 0;
    std::vector<int> finalCodesWanted; // per reply read
    bool silent = false; // takes commands but never answers, not even with the echo
    OpenError openFailure = OpenError::None; // every open fails so while plugged in
    std::string stallAt;                     // this command is not taken, or only its start
    bool stalledAfterSomeBytes = false;

private:
    std::string replyTo(const std::string& command)
    {
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
    std::string m_pending;
    bool m_plugged = true;
    bool m_open = true;
    bool m_stalled = false;
    OpenError m_openError = OpenError::None;
};

// A progress bar that remembers what the dialogue did with it.
class RecordingProgress : public NullProgress {
public:
    void setTextVisible(bool visible) override { textVisible = visible; }
    void setVisible(bool visible) override { shown = visible; }
    void setMaximum(int maximum) override
    {
        NullProgress::setMaximum(maximum);
        maximums.push_back(maximum);
    }
    void processEvents()
    {
        ++eventRounds;
        if (onEvents)
            onEvents(eventRounds);
    }

    bool textVisible = true;
    bool shown = false;
    std::vector<int> maximums;
    int eventRounds = 0;
    std::function<void(int)> onEvents;
};

// ASCII text as the phone sends it after AT+CSCS=UCS2.
inline std::string ucs2(std::string_view ascii)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : ascii)
        hex += std::string("00") + digits[c >> 4] + digits[c & 15];
    return hex;
}

} // namespace qb::test
