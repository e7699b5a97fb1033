#pragma once
// Why the dialogue with the phone could not go on, as a value the window turns
// into its message: the kind of failure, the command it happened on and, for a
// refusal, the phone's own error and its number.
#include <QMetaType>
#include <cstddef>
#include <optional>
#include <string>

namespace qb {

// How a reply does not fit the command it answers.
enum class ReplyMismatch {
    None,
    BadIndex,       // a listed message's index is not a storage index
    BadDigits,      // a listed message's text is not UCS2 hex digits
    RepeatedIndex,  // two listed messages share an index
    OtherMessage,   // the +CMGR reply carries another message's header
    UnexpectedLine, // a line of the listing that is no part of a listing
};

struct PhoneFailure {
    enum class Kind {
        NoAnswer,   // the command's final code did not come within its time
        Stopped,    // the reply began, then the phone fell silent past the bound
        TooLong,    // the reply grew past what the command can hold
        Refused,    // ERROR, +CMS ERROR: n or +CME ERROR: n
        UnfitReply, // the reply does not fit the command
    };
    Kind kind = Kind::NoAnswer;
    std::string command;            // as sent, e.g. "AT+CMGR=3"
    int limitMs = 0;                // NoAnswer, Stopped: the bound that passed
    std::size_t limitBytes = 0;     // TooLong
    std::string errorLine;          // Refused: the final code as sent, e.g. "+CMS ERROR: 500"
    std::optional<int> errorNumber; // Refused: 500; none for a bare ERROR
    ReplyMismatch mismatch = ReplyMismatch::None; // UnfitReply
    std::string subject; // UnfitReply: the index or line at fault (Windows-1251)
};

} // namespace qb

Q_DECLARE_METATYPE(qb::PhoneFailure)
