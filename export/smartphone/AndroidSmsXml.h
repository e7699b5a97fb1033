#pragma once
// The archive as an SMS backup in the XML format Android's "SMS Backup &
// Restore" restores from: <smses count="N"> holding one <sms/> per message.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

struct AndroidSmsXml {
    std::string xml; // UTF-8, with its XML declaration
    int messages = 0;
    int droppedCharacters = 0; // characters XML 1.0 cannot carry
    int undated = 0;           // messages written with date "0"
};

// Milliseconds since the epoch of an archived time stamp "DD/MM/YYYY,hh:mm:ss"
// read as local time; none when the stamp is not a valid date and time.
std::optional<int64_t> archiveStampToEpochMs(std::string_view stamp);

// Every message of the three folders, Inbox first, each folder in file order.
// Names come from the phonebook (its count line is not consulted).
AndroidSmsXml androidSmsXml(const Archive& archive, const Phonebook& phonebook);

} // namespace qb
