#include "reading/PhoneLine.h"

#include <utility>

namespace qb {

// The phone waits for the next command without an explicit deadline.
constexpr int ReplyWaitMs = 0;

PhoneLine::PhoneLine(PortSource source)
    : m_source(std::move(source))
{
}

namespace {

LineLoss openLoss(OpenError error)
{
    switch (error) {
    case OpenError::Busy:
        return LineLoss::Busy;
    case OpenError::NoPermission:
        return LineLoss::Refused;
    default:
        return LineLoss::Vanished;
    }
}

} // namespace

AtPort* PhoneLine::usablePort()
{
    if (m_loss != LineLoss::None)
        return nullptr;
    AtPort* port = m_source ? m_source() : nullptr;
    // A port whose device went away fails its state query.
    if (!port || !port->isOpen()) {
        m_loss = LineLoss::Vanished;
        return nullptr;
    }
    return port;
}

bool PhoneLine::reopen()
{
    AtPort* port = m_source ? m_source() : nullptr;
    if (!port) {
        m_loss = LineLoss::Vanished;
        return false;
    }
    m_unanswered = 0;
    port->close();
    // Between the close and the open another program can take the tty.
    if (!port->open()) {
        m_loss = openLoss(port->lastOpenError());
        return false;
    }
    return usablePort() != nullptr;
}

bool PhoneLine::send(const std::string& command)
{
    AtPort* port = usablePort();
    if (!port)
        return false;
    const bool sent = port->sendCommand(command);
    // A command cut short is lost as much as one never sent; the phone would
    // take the rest of the dialogue for garbage.
    if (port->writeStalled() && port->isOpen()) {
        m_loss = LineLoss::Stalled;
        return false;
    }
    if (!sent) {
        m_loss = LineLoss::Vanished;
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
        m_loss = LineLoss::Vanished;
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
