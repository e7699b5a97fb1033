#pragma once
// The AT commands of the read and of the deletion on the phone, each with how
// long the phone may take over it, how much its answer may hold and what an
// error from the phone means for the dialogue.
#include "phonelink/ReplyReader.h"

#include <optional>
#include <string>
#include <vector>

namespace qb {

enum class OnError {
    Stop,   // the command failed: the dialogue stops and says so
    Answer, // the error is an answer; the step that takes the reply decides
};

struct AtCommand {
    std::string text;
    ReplyLimits limits;
    OnError onError = OnError::Stop;
};

// Bounds by kind of command. ModemManager gives a simple command 3 to 5 s and
// the message listing 120 s; gammu waits 4 to 5 s of silence for a simple
// command and far longer for a listing. A Motorola phone reads a full memory
// from flash before it lists, seconds on end, and sends its listing and
// phonebook in one reply: a few thousand messages of at most a few KB each.
struct DialogueLimits {
    ReplyLimits command{10000, 10000, 64 * 1024};
    ReplyLimits listing{120000, 30000, 8 * 1024 * 1024};
    ReplyLimits phonebook{120000, 30000, 4 * 1024 * 1024};
};

class PhoneCommands {
  public:
    explicit PhoneCommands(DialogueLimits limits = {}) : m_limits(limits) {}

    // AT, AT+CMGF=1, AT+CSCS=UCS2, AT+CPBS="MT", sent together.
    std::vector<AtCommand> setUp() const;
    // at+mmgl="ALL": every message, in Motorola's listing.
    AtCommand listing() const;
    // A bare AT, whose answer takes whatever the phone still had to say.
    AtCommand resync() const;
    AtCommand readMessage(const std::string& index) const;
    // AT+CPBS="MT" and AT+CPBR=?, sent together.
    std::vector<AtCommand> phonebookStorageAndRange() const;
    // AT+CPBR=? alone. A phone that does not tell its range answers with an
    // error; the read then asks for the entries from 1 with no end.
    AtCommand phonebookRange() const;
    // at+cpbr=1,<end>, or "at+cpbr=1," without a range end; its errors are
    // weighed by the read.
    AtCommand phonebookEntries(const std::optional<std::string>& rangeEnd) const;
    AtCommand pduMode() const;
    // AT+CMGD=<the row's index cell>; a refusal keeps the row.
    AtCommand deleteMessage(const std::string& indexCell) const;

  private:
    AtCommand command(std::string text, OnError onError = OnError::Stop) const;

    DialogueLimits m_limits;
};

} // namespace qb
