#pragma once
// The AT dialogue's hold on one port. The watcher may destroy the port at any
// time (the phone was unplugged), so it is held weakly: its destruction, its
// hang-up and a stalled write all end the line with the loss they stand for.
#include "phonelink/AtPort.h"
#include "phonelink/ReplyReader.h"

#include <QObject>
#include <QPointer>
#include <functional>
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

class PhoneLine : public QObject {
    Q_OBJECT
  public:
    using Reply = std::function<void(std::string reply)>;

    explicit PhoneLine(AtPort* port, QObject* parent = nullptr);

    // Close and Open again; false, with the reason, when the port is not
    // usable afterwards. Commands left unanswered are forgotten.
    bool reopen();
    // Sends the commands one after the other, then collects one reply for
    // them and for any sent before without a reply; `then` gets it unless the
    // line is lost first, which ends the dialogue with lost() instead.
    void exchange(const std::vector<std::string>& commands, Reply then);
    // Stops waiting: neither `then` nor lost() comes any more.
    void abandon();

    LineLoss loss() const { return m_loss; }
    // false: every reply ends by the quiet line alone, as before replies were
    // told whole by their final result codes (for comparing the two).
    void setEndAtFinalCodes(bool atCodes) { m_endAtCodes = atCodes; }

  signals:
    // Once per line, from the event loop; the port is never touched again.
    void lost(qb::LineLoss loss);
    // A reply is being collected until it holds this many final result codes.
    void replyAwaited(int finalCodes);

  private:
    AtPort* usablePort();
    void awaitReply();
    void lose(LineLoss loss);

    QPointer<AtPort> m_port;
    ReplyReader m_reader;
    LineLoss m_loss = LineLoss::None;
    // Commands sent since the last reply: the reply is whole once it holds
    // that many final result codes.
    int m_unanswered = 0;
    bool m_endAtCodes = true;
    Reply m_then;
    QMetaObject::Connection m_written;
};

} // namespace qb

Q_DECLARE_METATYPE(qb::LineLoss)
