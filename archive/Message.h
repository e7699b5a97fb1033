#pragma once
// One message as the program knows it, wherever it came from: the phone, a
// folder file or an imported archive. Texts are bytes in the archive's code
// page (Windows-1251); they become Unicode only where they are shown or
// written to another format. How a message is laid out in the folder files
// is the archive's own business (RecordLines.h).
#include "core/MessageDirection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

enum class FolderKind { Inbox, Outbox, Draft };

// The one of three per-folder values that belongs to `kind`.
template <class T> T& byFolderKind(FolderKind kind, T& inbox, T& outbox, T& draft) {
    switch (kind) {
    case FolderKind::Inbox:
        return inbox;
    case FolderKind::Outbox:
        return outbox;
    case FolderKind::Draft:
        break;
    }
    return draft;
}

// The folder a message lies in tells which way it went.
constexpr MessageDirection directionOf(FolderKind kind) {
    switch (kind) {
    case FolderKind::Inbox:
        return MessageDirection::Received;
    case FolderKind::Outbox:
        return MessageDirection::Sent;
    case FolderKind::Draft:
        break;
    }
    return MessageDirection::Unsent;
}

// What the phone said of a message when it listed it.
enum class MessageStatus : std::uint8_t {
    None,   // a received message whose stored header names no status (an edited file)
    Read,   // received and read
    Unread, // received, not read yet
    Sent,
    Unsent,
};

// A time as the phone stamped it, in the phone's own local time. Only valid
// dates and times are held; a message without one has no MessageTime at all.
struct MessageTime {
    std::int16_t year = 1970;
    std::int8_t month = 1;
    std::int8_t day = 1;
    std::int8_t hour = 0;
    std::int8_t minute = 0;
    std::int8_t second = 0;

    // Whether these fields name a real date (no year 0) and time of day.
    bool isValid() const;
    friend bool operator==(const MessageTime&, const MessageTime&) = default;
};

// What a message's source gave in a form its fields alone would not write
// back byte for byte: the folder files are kept exactly as they are, even
// where an older version, a hand edit or a damaged disk left odd lines. Each
// is the line as the folder file holds it (or will hold it); none writes the
// field in the plain form.
template <class Text> struct StoredLines {
    std::optional<Text> header;    // the phone's listing line; none: built from the fields
    std::optional<Text> indexLine; // an index line that does not read back as `index` plainly
    std::optional<Text> dateLine;  // a date line that is not `time` written plainly
    // The text as versions that decoded the phone's digits by a fixed table
    // wrote it, where that differs: their records are recognised by it.
    std::optional<Text> formerText;
};

template <class Text> struct BasicMessage {
    FolderKind folder = FolderKind::Inbox;
    std::optional<int> index; // where the phone stores it; none when unreadable
    MessageStatus status = MessageStatus::None;
    Text number; // the correspondent: sender of a received message, addressee of the others
    std::optional<MessageTime> time; // received messages only; none when unknown
    Text text;
    StoredLines<Text> stored;
};

// A message owning its texts: one read from the phone or made by an import.
using Message = BasicMessage<std::string>;
// A message whose texts lie elsewhere, as those of an archive folder lie in
// the folder's one buffer. Valid while that buffer is.
using MessageView = BasicMessage<std::string_view>;

MessageView view(const Message& message);
Message toMessage(const MessageView& message);

} // namespace qb
