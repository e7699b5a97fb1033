#pragma once
// A conversation: every message exchanged with one correspondent, from the
// phone's folders and the archive's, in time order. Only received messages
// carry a time; sent and unsent ones are placed where the Android backup puts
// them, by their storage index among the received messages around them.
#include "core/MessageDirection.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace qb {

struct PlacedTime {
    std::optional<qint64> time; // milliseconds since the epoch; none when it cannot be told
    bool estimated = false;     // from the neighbours, not the message's own
};

struct TimelineMessage {
    MessageDirection direction = MessageDirection::Received;
    std::optional<qint64> time;      // its own time, milliseconds since the epoch
    std::optional<int> storageIndex; // its index in the phone's storage, when readable
};

// For each message of one source, the phone's last read or the archive, given
// whole (the neighbours are any correspondent's) in the order Inbox, Outbox,
// Draft, each folder in stored order: its own time, or an estimate as the
// Android backup's (export/smartphone/EstimatedDates.h).
std::vector<PlacedTime> placeInTime(const std::vector<TimelineMessage>& messages);

enum class MessageSource { Phone, Archive };

struct ConversationEntry {
    MessageSource source = MessageSource::Archive;
    int folder = 0;   // where the message lives, numbered as the caller numbers folders,
    int position = 0; // and its place there: both only passed through
    MessageDirection direction = MessageDirection::Received;
    QString correspondent; // the number as stored
    std::optional<int> storageIndex;
    PlacedTime time; // from placeInTime() over the message's source
    QString text;
};

// The entries in time order; equal times by storage index. Those whose time
// cannot be told come last, archive before phone, each by storage index. A
// phone message that the archive holds too (same direction, storage index,
// correspondent, text and own time) is given once, as the archive's: a read
// copies every message it finds into the archive.
std::vector<ConversationEntry> orderConversation(std::vector<ConversationEntry> entries);

} // namespace qb
