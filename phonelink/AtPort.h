#pragma once
// The few operations the AT dialogue needs from a modem port. The phone read,
// the phonebook capture and the deletion talk to this, so they run the same
// against a real tty and against a scripted phone in the tests. Nothing here
// waits: commands are queued and written as the phone takes them, and what the
// phone sends arrives by signal on the event loop.
#include <QMetaType>
#include <QObject>
#include <string>

namespace qb {

// Why the last open failed, so that a busy or forbidden port is not taken for
// an unplugged phone.
enum class OpenError {
    None,
    Busy,         // another program (or another port object) holds the tty
    NoPermission, // the user may not open the node (not in dialout, no uaccess)
    Missing,      // the node is gone (unplugged)
    Other,        // not a usable tty, or an unexpected system error
};

// How an open port stopped working for the dialogue.
enum class PortLoss {
    HungUp,  // the line went down (unplugged); the port has closed itself
    Stalled, // the phone took no byte of a command for a second while the line
             // stayed up; the rest of the output was dropped, the port stays open
};

class AtPort : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() = 0;
    // Queues the command followed by CR LF and starts writing it; false when
    // the port is closed.
    virtual bool sendCommand(const std::string& command) = 0;
    // Queued bytes the phone has not taken yet; outputWritten() follows once
    // they are all out.
    virtual bool hasPendingOutput() const { return false; }
    virtual OpenError lastOpenError() const { return OpenError::None; }

  signals:
    // Raw bytes as they came, line breaks and zero bytes included.
    void received(const std::string& bytes);
    void outputWritten();
    void lost(qb::PortLoss loss);
};

} // namespace qb

Q_DECLARE_METATYPE(qb::PortLoss)
