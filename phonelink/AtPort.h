#pragma once
// The few operations the AT dialogue needs from a modem port. The phone read,
// the phonebook capture and the deletion talk to this, so they run the same
// against a real tty and against a scripted phone in the tests.
#include <string>

namespace qb {

class AtPort {
  public:
    virtual ~AtPort() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() = 0;
    // Writes the command followed by CR LF; true when any byte was written.
    virtual bool sendCommand(const std::string& command) = 0;
    // Everything the phone sent until the line fell quiet (raw bytes).
    virtual std::string readReply(int waitMs) = 0;
};

} // namespace qb
