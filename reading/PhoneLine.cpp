#include "reading/PhoneLine.h"

#include <QTimer>
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

} // namespace

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
    if (m_loss != LineLoss::None)
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
    m_unanswered = 0;
    m_port->close();
    // Between the close and the open another program can take the tty.
    if (!m_port->open()) {
        lose(openLoss(m_port->lastOpenError()));
        return false;
    }
    return usablePort() != nullptr;
}

void PhoneLine::exchange(const std::vector<std::string>& commands, Reply then) {
    m_then = std::move(then);
    for (const std::string& command : commands) {
        AtPort* port = usablePort();
        if (!port)
            return;
        if (!port->sendCommand(command)) {
            lose(LineLoss::Vanished);
            return;
        }
        ++m_unanswered;
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
    const int unanswered = std::exchange(m_unanswered, 0);
    const int codes = m_endAtCodes ? unanswered : 0;
    emit replyAwaited(codes);
    m_reader.read(codes, [this](std::string reply) {
        // An empty reply from a port that closed itself meanwhile is no answer.
        if (!usablePort())
            return;
        if (Reply then = std::exchange(m_then, nullptr))
            then(std::move(reply));
    });
}

void PhoneLine::abandon() {
    m_then = nullptr;
    disconnect(m_written);
    m_reader.abandon();
    m_loss = m_loss == LineLoss::None ? LineLoss::Vanished : m_loss;
}

void PhoneLine::lose(LineLoss loss) {
    if (m_loss != LineLoss::None)
        return;
    m_loss = loss;
    m_then = nullptr;
    disconnect(m_written);
    m_reader.abandon();
    // Told from the event loop: the port may be in the middle of being destroyed.
    QTimer::singleShot(0, this, [this, loss] { emit lost(loss); });
}

} // namespace qb
