#include "reading/PhoneLine.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace qb {
namespace {

LineLoss openLoss(OpenError error) {
    switch (error) {
    case OpenError::Busy:
        return LineLoss::Busy;
    case OpenError::NoPermission:
        return LineLoss::Refused;
    default:
        return LineLoss::Vanished;
    }
}

PhoneFailure boundPassed(Reply::End end, const AtCommand& command) {
    PhoneFailure failure;
    failure.command = command.text;
    switch (end) {
    case Reply::End::Stopped:
        failure.kind = PhoneFailure::Kind::Stopped;
        failure.limitMs = command.limits.silenceMs;
        break;
    case Reply::End::TooLong:
        failure.kind = PhoneFailure::Kind::TooLong;
        failure.limitBytes = command.limits.maxBytes;
        break;
    default:
        failure.kind = PhoneFailure::Kind::NoAnswer;
        failure.limitMs = command.limits.answerMs;
        break;
    }
    return failure;
}

} // namespace

PhoneFailure refusalOf(const std::string& command, const FinalCode& code) {
    PhoneFailure failure;
    failure.kind = PhoneFailure::Kind::Refused;
    failure.command = command;
    failure.errorLine = code.line;
    failure.errorNumber = code.number;
    return failure;
}

std::optional<PhoneFailure> failureOf(const Reply& reply, const std::vector<AtCommand>& commands) {
    if (reply.end == Reply::End::NoAnswer || reply.end == Reply::End::Stopped ||
        reply.end == Reply::End::TooLong) {
        if (commands.empty())
            return boundPassed(reply.end, AtCommand{});
        return boundPassed(reply.end, commands[std::min(reply.unanswered(), commands.size() - 1)]);
    }
    for (std::size_t i = 0; i < reply.codes.size() && i < commands.size(); ++i) {
        if (reply.codes[i].isError() && commands[i].onError == OnError::Stop)
            return refusalOf(commands[i].text, reply.codes[i]);
    }
    return std::nullopt;
}

PhoneLine::PhoneLine(AtPort* port, QObject* parent)
    : QObject(parent), m_port(port), m_reader(port) {
    if (!port)
        return;
    connect(port, &AtPort::lost, this, [this](PortLoss loss) {
        lose(loss == PortLoss::Stalled ? LineLoss::Stalled : LineLoss::Vanished);
    });
    connect(port, &QObject::destroyed, this, [this] { lose(LineLoss::Vanished); });
}

AtPort* PhoneLine::usablePort() {
    if (m_ended)
        return nullptr;
    // A port whose device went away fails its state query.
    if (!m_port || !m_port->isOpen()) {
        lose(LineLoss::Vanished);
        return nullptr;
    }
    return m_port;
}

bool PhoneLine::reopen() {
    if (!m_port) {
        lose(LineLoss::Vanished);
        return false;
    }
    m_unanswered.clear();
    m_port->close();
    // Between the close and the open another program can take the tty.
    if (!m_port->open()) {
        lose(openLoss(m_port->lastOpenError()));
        return false;
    }
    return usablePort() != nullptr;
}

void PhoneLine::exchange(const std::vector<AtCommand>& commands, Then then) {
    m_then = std::move(then);
    for (const AtCommand& command : commands) {
        AtPort* port = usablePort();
        if (!port)
            return;
        if (!port->sendCommand(command.text)) {
            lose(LineLoss::Vanished);
            return;
        }
        m_unanswered.push_back(command);
    }
    AtPort* port = usablePort();
    if (!port)
        return;
    // The reply's clock starts once the phone has taken the commands, as it
    // did when every write blocked until done.
    if (!port->hasPendingOutput()) {
        awaitReply();
        return;
    }
    m_written = connect(port, &AtPort::outputWritten, this, [this] {
        disconnect(m_written);
        awaitReply();
    });
}

void PhoneLine::awaitReply() {
    std::vector<AtCommand> commands = std::exchange(m_unanswered, {});
    std::vector<AwaitedCommand> awaited;
    for (const AtCommand& command : commands)
        awaited.push_back({command.text, command.limits});
    emit replyAwaited(static_cast<int>(awaited.size()));
    m_reader.read(std::move(awaited), [this, commands = std::move(commands)](Reply reply) {
        // An empty reply from a port that closed itself meanwhile is no answer.
        if (!usablePort())
            return;
        if (std::optional<PhoneFailure> failure = failureOf(reply, commands)) {
            fail(std::move(*failure));
            return;
        }
        if (Then then = std::exchange(m_then, nullptr))
            then(reply);
    });
}

void PhoneLine::abandon() {
    m_then = nullptr;
    disconnect(m_written);
    m_reader.abandon();
    m_ended = true;
}

void PhoneLine::lose(LineLoss loss) {
    if (m_ended)
        return;
    m_loss = loss;
    end([this, loss] { emit lost(loss); });
}

void PhoneLine::fail(PhoneFailure failure) {
    if (m_ended)
        return;
    end([this, failure = std::move(failure)] { emit failed(failure); });
}

void PhoneLine::end(std::function<void()> tell) {
    m_ended = true;
    m_then = nullptr;
    disconnect(m_written);
    m_reader.abandon();
    // Told from the event loop: the port may be in the middle of being destroyed.
    QTimer::singleShot(0, this, std::move(tell));
}

} // namespace qb
