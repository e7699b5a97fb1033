#pragma once
// Collects the phone's replies on any AtPort. A reply ends at the final
// result codes of the commands it answers (ReplyFraming), however long the
// phone takes, within the bounds each command carries: the time to its final
// code, the longest pause once the reply has begun, and its size. A reply that
// passes a bound ends there and says which. Only where no code can be told (a
// reply asked for without commands, or one a zero byte blinded) does a quiet
// line end it: a check that finds nothing arrived since the one before, made
// every 100 ms (the first 50 ms after a reply without commands is asked for).
#include "phonelink/AtPort.h"
#include "phonelink/ReplyFraming.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// How long a command may take and how much its answer may hold.
struct ReplyLimits {
    int answerMs = 10000;  // to its final code, from the phone's taking it or answering the last
    int silenceMs = 10000; // the longest pause between two bytes once the reply has begun
    std::size_t maxBytes = 64 * 1024;
};

struct AwaitedCommand {
    std::string text; // as sent, without its CR LF
    ReplyLimits limits;
};

struct Reply {
    enum class End {
        Whole,    // every command has its final code
        Quiet,    // a quiet line ended it: no commands, or a zero byte hid the codes
        NoAnswer, // a command's final code did not come within its time
        Stopped,  // the reply began, then the line fell silent past its bound
        TooLong,  // the reply grew past what its command can hold
    };
    End end = End::Whole;
    std::string bytes;            // from the first echo on, unsolicited lines taken out
    std::vector<FinalCode> codes; // of the commands answered, in order
    // The command a reply that did not end whole was waiting for.
    std::size_t unanswered() const { return codes.size(); }
};

class ReplyReader : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(Reply reply)>;

    explicit ReplyReader(AtPort* port, QObject* parent = nullptr);

    // Collects the reply to `commands`, sent together in this order; `done`
    // runs once, from the event loop. Without commands the quiet line alone
    // ends the reply.
    void read(std::vector<AwaitedCommand> commands, Done done);
    // Stops collecting; `done` is not called.
    void abandon();
    bool isReading() const { return bool(m_done); }

  private:
    void take(const std::string& bytes);
    void feed(std::string_view bytes);
    void check();
    void end(Reply::End end);
    void deliver();
    const ReplyLimits& limits() const;

    QPointer<AtPort> m_port;
    std::vector<AwaitedCommand> m_commands;
    ReplyFraming m_framing;
    std::string m_next;          // bytes after the end of the last reply: the next one's start
    std::size_t m_sinceCode = 0; // bytes taken since the last final code
    bool m_arrived = false;      // since the previous quiet-line check
    std::optional<Reply::End> m_end;
    QTimer m_check;    // the quiet-line rule
    QTimer m_deadline; // the awaited command's time to its final code
    QTimer m_silence;  // the pause since the last byte
    QTimer m_deliver;  // hands the reply over from the event loop
    Done m_done;
};

} // namespace qb
