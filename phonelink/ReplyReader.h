#pragma once
// Frames the phone's replies on any AtPort. A reply ends at whichever comes
// first: the final result codes of the commands it answers, or a check of the
// line (50 ms after the reply is asked for, then 100 ms after the previous
// check) that finds nothing arrived since the one before. Bytes that arrive
// while no reply is asked for, or after one ended, open the next reply.
#include "phonelink/AtPort.h"
#include "phonelink/FinalCodeCounter.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

namespace qb {

class ReplyReader : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(std::string reply)>;

    explicit ReplyReader(AtPort* port, QObject* parent = nullptr);

    // Collects one reply; `done` runs once, from the event loop, with its raw
    // bytes. finalCodes 0 waits for quiet alone.
    void read(int finalCodes, Done done);
    // Stops collecting; `done` is not called. What arrived stays for the next reply.
    void abandon();
    bool isReading() const { return bool(m_done); }

  private:
    void take(const std::string& bytes);
    void check();
    void finish();

    QPointer<AtPort> m_port;
    std::string m_bytes; // the reply being collected, or the start of the next one
    FinalCodeCounter m_codes{0};
    std::size_t m_whole = std::string::npos; // the reply's length once its codes are in
    bool m_arrived = false;                  // since the previous check
    QTimer m_check;
    Done m_done;
};

} // namespace qb
