#pragma once
// The AT commands of the standard dialogue (3GPP TS 27.005 and 27.007, PDU
// mode), each with how long the phone may take over it, how much its answer
// may hold and what an error from the phone means, as PhoneCommands gives
// Motorola's. Where an error is an answer, the step that takes the reply
// weighs it with the helpers below.
#include "phonelink/ReplyFraming.h"
#include "reading/PhoneCommands.h"

#include <string>

namespace qb {

class StandardCommands {
  public:
    explicit StandardCommands(DialogueLimits limits = {}) : m_limits(limits) {}

    // A bare AT: resynchronises, as the Motorola read begins.
    AtCommand resync() const;
    // ATE1. Replies are framed by the echo of their commands, and V.25ter
    // phones start with it on; a phone that has it off does not echo this
    // either, so its answer is taken by the quiet line, not framed.
    AtCommand echoOn() const;
    // AT+CMEE=1: errors as numbers, which tell "not found" from a refusal.
    // A phone without it answers ERROR, which changes nothing.
    AtCommand numericErrors() const;
    // AT+CGMI, and ATI where that is refused: who made the phone.
    AtCommand manufacturer() const;
    AtCommand identification() const;
    // AT+CMGF=0. A phone without PDU mode cannot be read: the read stops.
    AtCommand pduMode() const;

    // AT+CPMS=? and AT+CPMS?. A phone without them is read in the storage it
    // has selected.
    AtCommand storagesOffered() const;
    AtCommand storagesSelected() const;
    // AT+CPMS="<name>": only the storage for reading and deleting is chosen,
    // so where the phone writes and receives stays as the user set it. A
    // refusal (no SIM card in the phone) skips the storage.
    AtCommand chooseStorage(const std::string& name) const;
    // AT+CMGL=4: every message of the storage, with the listing's bounds.
    AtCommand listAll() const;
    // AT+CMGR=<index>, for a phone whose listing indexes are no locations.
    AtCommand readMessage(int index) const;
    // AT+CMGD=<index>; a refusal keeps the message.
    AtCommand deleteMessage(int index) const;

    // AT+CSCS=?, AT+CSCS? and AT+CSCS="<name>" ("UCS2", else the phone's own).
    AtCommand charsetsOffered() const;
    AtCommand charsetSelected() const;
    AtCommand chooseCharset(const std::string& name) const;
    // AT+CPBS=?, AT+CPBS="<name>", AT+CPBR=? and AT+CPBR=<first>,<last>.
    AtCommand phonebooksOffered() const;
    AtCommand choosePhonebook(const std::string& name) const;
    AtCommand phonebookRange() const;
    AtCommand phonebookEntries(int first, int last) const;

    // Positions asked for in one AT+CPBR.
    static constexpr int PhonebookChunk = 50;

  private:
    AtCommand command(std::string text, OnError onError = OnError::Stop) const;

    DialogueLimits m_limits;
};

// What an error a command takes as an answer says about a storage or a
// phonebook.
enum class ErrorMeaning {
    Empty,       // nothing there: an empty storage or range
    Unavailable, // the SIM card is missing, locked or failing: skip it, say so
    Refused,     // anything else: the read stops with the phone's error
};

// An error answering AT+CPMS=, AT+CMGL or AT+CMGR (+CMS ERROR 310 to 318: the
// SIM; 321, invalid memory index: nothing there).
ErrorMeaning messageStorageError(const FinalCode& code);

// An error answering AT+CPBS= or AT+CPBR (+CME ERROR 10 to 18: the SIM; 21,
// invalid index, and 22, not found: nothing there).
ErrorMeaning phonebookError(const FinalCode& code);

} // namespace qb
