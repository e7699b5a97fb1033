#pragma once
// The few operations the AT dialogue needs from a modem port. The phone read,
// the phonebook capture and the deletion talk to this, so they run the same
// against a real tty and against a scripted phone in the tests.
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

class AtPort {
  public:
    virtual ~AtPort() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() = 0;
    // Writes the command followed by CR LF; true when any byte was written.
    virtual bool sendCommand(const std::string& command) = 0;
    // What the phone sent (raw bytes) until the reply holds finalCodes final
    // result codes, the answers of that many commands sent together, or until
    // the line fell quiet, whichever comes first. 0 waits for quiet alone.
    virtual std::string readReply(int waitMs, int finalCodes) = 0;
    virtual OpenError lastOpenError() const { return OpenError::None; }
    // The last command was not written whole because the phone took no byte
    // for the stall limit, while the line itself stayed up.
    virtual bool writeStalled() const { return false; }
};

} // namespace qb
