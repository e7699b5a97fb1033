#pragma once
// A failure that stops a command and is shown to the user in a message box.
// The texts are the program's own and are kept exactly.
#include <QString>
#include <optional>

namespace qb {

struct Failure {
    enum class Kind {
        CannotOpen,   // "Cannot open file "%s". %s"
        CannotCreate, // "Cannot create file "%s". %s"
        NotInteger,   // "'%s' is not a valid integer value"
        Message,      // a ready text (subject holds it)
        // The records chosen for deletion are no longer those the list was
        // filled from; a ready text, as Message. Callers tell it by its kind.
        RecordsChanged,
    };
    Kind kind = Kind::Message;
    QString subject; // the path, the offending text, or the whole message
    QString reason;  // the system's reason, for the file failures

    static Failure cannotOpen(const QString& path, const QString& reason);
    static Failure cannotCreate(const QString& path, const QString& reason);
    static Failure notInteger(const QString& text);
    static Failure message(const QString& text);
    // The system's own words for an allocation that failed: a command that
    // runs out of memory stops with this instead of taking the program down.
    static Failure outOfMemory();

    QString text() const;
};

using MaybeFailure = std::optional<Failure>;

// Whole decimal number as the program has always accepted it (optional sign,
// digits, no blanks), within 32 bits.
std::optional<int> parseWholeNumber(std::string_view text);
// The same after any leading blanks, which the old conversion skipped: the
// indexes of sent and unsent messages keep the blank the phone put before them.
std::optional<int> parseBlankLedNumber(std::string_view text);

} // namespace qb
