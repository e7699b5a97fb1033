#pragma once
// The archive as an SMS backup in the XML format Android's "SMS Backup &
// Restore" restores from: <smses count="N"> holding one <sms/> per message.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

// What to do with a message the archive holds no time for.
enum class UndatedMessages {
    Estimate, // a time from its neighbours in the phone's storage (EstimatedDates.h)
    Epoch,    // date "0", which the app shows as 1 January 1970
    Skip,     // leave it out
};

struct AndroidSmsOptions {
    UndatedMessages undated = UndatedMessages::Estimate;
    std::string backupSet;             // the root's backup_set; empty: a new UUID
    std::optional<int64_t> backupDate; // the root's backup_date in ms; none: now
    // The region whose rules read numbers without a country code, for telling
    // which drafts share a conversation; empty: the desktop's (homeRegionOf).
    QString homeRegion;
};

struct AndroidSmsXml {
    std::string xml; // UTF-8, with its XML declaration
    int messages = 0;
    int droppedCharacters = 0; // characters XML 1.0 cannot carry
    int undated = 0;           // messages written with date "0"
    int estimated = 0;         // messages written with an estimated date
    int skippedUndated = 0;    // messages left out for want of a time
    int withoutAddress = 0;    // messages left out: Android files none without one
    // Drafts written into a conversation that holds another draft, the
    // forms of one number ("+7 916…", "8 916…") taken as one conversation:
    // Android keeps one draft per conversation, the last one restored.
    int draftsSharingConversation = 0;
};

// Milliseconds since the epoch of a phone's time read as local time, in the
// zone tzset() last read.
std::optional<int64_t> localEpochMs(const MessageTime& time);

// Every message of the three folders, Inbox first, each folder in file order.
// Names come from the phonebook (its count line is not consulted).
AndroidSmsXml androidSmsXml(const Archive& archive, const Phonebook& phonebook,
                            const AndroidSmsOptions& options = {});

} // namespace qb
