#pragma once
// The AT dialogue's hold on one port. The watcher may destroy the port at any
// time (the phone was unplugged), so it is held weakly: its destruction, its
// hang-up and a stalled write all end the line with the loss they stand for.
// A reply that passes its command's bounds, or an error the command does not
// take as an answer, ends the line with a failure instead.
#include "phonelink/AtPort.h"
#include "phonelink/ReplyReader.h"
#include "reading/PhoneCommands.h"
#include "reading/PhoneFailure.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// Why the dialogue lost its phone: the user is told different things for each.
enum class LineLoss {
    None,
    Vanished, // unplugged, or the port went dead
    Busy,     // another program took the port when it was re-opened
    Refused,  // the re-open was not permitted
    Stalled,  // the phone stopped taking commands while the line stayed up
};

// The phone refused `command` with `code`.
PhoneFailure refusalOf(const std::string& command, const FinalCode& code);

// The failure a reply to `commands` stands for, if any: a bound passed, or an
// error from a command that does not take errors as answers.
std::optional<PhoneFailure> failureOf(const Reply& reply, const std::vector<AtCommand>& commands);

class PhoneLine : public QObject {
    Q_OBJECT
  public:
    using Then = std::function<void(const Reply& reply)>;

    explicit PhoneLine(AtPort* port, QObject* parent = nullptr);

    // Close and Open again; false, with the reason, when the port is not
    // usable afterwards. Commands left unanswered are forgotten.
    bool reopen();
    // Sends the commands one after the other, then collects one reply for
    // them; `then` gets it unless the line is lost or the reply fails first,
    // which ends the dialogue with lost() or failed() instead.
    void exchange(const std::vector<AtCommand>& commands, Then then);
    // Waiting for a reply.
    bool isWaiting() const { return bool(m_then); }
    // Stops waiting: neither `then`, lost() nor failed() comes any more.
    void abandon();

    LineLoss loss() const { return m_loss; }

  signals:
    // Once per line, from the event loop; the port is never touched again.
    void lost(qb::LineLoss loss);
    void failed(const qb::PhoneFailure& failure);
    // A reply to this many commands is being collected.
    void replyAwaited(int commands);

  private:
    AtPort* usablePort();
    void awaitReply();
    void lose(LineLoss loss);
    void fail(PhoneFailure failure);
    void end(std::function<void()> tell);

    QPointer<AtPort> m_port;
    ReplyReader m_reader;
    LineLoss m_loss = LineLoss::None;
    bool m_ended = false;
    // Commands sent since the last reply: it is whole once each has its final code.
    std::vector<AtCommand> m_unanswered;
    Then m_then;
    QMetaObject::Connection m_written;
};

} // namespace qb

Q_DECLARE_METATYPE(qb::LineLoss)
