#pragma once
// Joining the parts of long messages, as a phone's storages list them, into
// whole messages. A pure unit: it knows nothing of the dialogue that listed them.
#include "codecs/SmsPdu.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// A message's status in a storage listing, numbered as AT+CMGL=4 numbers it.
enum class StoredStatus { ReceivedUnread = 0, ReceivedRead = 1, StoredUnsent = 2, StoredSent = 3 };

// Where a part lies on the phone, for deleting it: the storage ("SM", "ME",
// "MT") and the index there.
struct StorageLocation {
    std::string storage;
    int index = 0;
    bool operator==(const StorageLocation&) const = default;
};

struct StoredPdu {
    StorageLocation location;
    StoredStatus status = StoredStatus::ReceivedRead;
    DecodedPdu pdu;
};

// Marks the place of each part of a long message that the phone does not hold.
inline const QString MissingPartMark = QStringLiteral("[\u2026]");

struct JoinedMessage {
    PduKind kind = PduKind::Deliver; // Deliver or Submit
    StoredStatus status = StoredStatus::ReceivedRead;
    SmsAddress address;
    // The time of its first part the phone holds (the parts of one message may
    // differ by seconds).
    std::optional<SmsTime> time;
    QString text;
    // Every part's place, in part order: deleting the message deletes them all.
    std::vector<StorageLocation> locations;
    int parts = 1;        // of the whole message, as its parts state
    int missingParts = 0; // not on the phone; MissingPartMark stands in for each
};

struct JoinedMessages {
    std::vector<JoinedMessage> messages; // in the order their first part was listed
    int statusReports = 0;               // left out: they are no messages
    int incompleteMessages = 0;          // messages with a part missing
    int missingParts = 0;
};

// Joins the parts of long messages and passes single messages through.
// Parts belong together when their kind, reference, number and part count
// agree; neither the service centre nor the time stamp counts, for real parts
// of one message can differ in both. Parts may come in any order and from
// different storages. The same part held twice (the same place in the message
// and the same text) is one part kept in two places; a different text in a
// place already filled starts another message, since an 8-bit reference comes
// round again after 256 long messages from one sender. Received parts are
// taken in time order for that, so each finds the message sent with it.
// A received message is unread when any of its parts is.
JoinedMessages joinLongMessages(std::vector<StoredPdu> parts);

} // namespace qb
