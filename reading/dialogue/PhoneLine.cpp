#include "reading/dialogue/PhoneLine.h"

#include <utility>

namespace qb {

// The phone waits for the next command without an explicit deadline.
constexpr int ReplyWaitMs = 0;

PhoneLine::PhoneLine(PortSource source)
    : m_source(std::move(source))
{
}

AtPort* PhoneLine::usablePort()
{
    if (m_vanished)
        return nullptr;
    AtPort* port = m_source ? m_source() : nullptr;
    // A port whose device went away fails its state query.
    if (!port || !port->isOpen()) {
        m_vanished = true;
        return nullptr;
    }
    return port;
}

bool PhoneLine::reopen()
{
    AtPort* port = m_source ? m_source() : nullptr;
    if (!port) {
        m_vanished = true;
        return false;
    }
    m_unanswered = 0;
    port->close();
    port->open();
    return usablePort() != nullptr;
}

bool PhoneLine::send(const std::string& command)
{
    AtPort* port = usablePort();
    if (!port)
        return false;
    if (!port->sendCommand(command)) {
        m_vanished = true;
        return false;
    }
    ++m_unanswered;
    return true;
}

std::optional<std::string> PhoneLine::reply()
{
    AtPort* port = usablePort();
    if (!port)
        return std::nullopt;
    std::string text = port->readReply(ReplyWaitMs, std::exchange(m_unanswered, 0));
    // An empty reply from a port that closed itself meanwhile is no answer.
    if (!port->isOpen()) {
        m_vanished = true;
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> PhoneLine::exchange(std::initializer_list<std::string> commands)
{
    for (const std::string& command : commands) {
        if (!send(command))
            return std::nullopt;
    }
    return reply();
}

} // namespace qb
