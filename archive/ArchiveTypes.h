#pragma once
// The data the archive, the phone read and the windows share: messages (in
// Message.h), the phonebook and the messages of the last phone read. Every
// text is Windows-1251 bytes.
#include "archive/Message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

struct PhonebookEntry {
    std::string number;
    std::string name;
};

// The phone's phonebook, in the order the phone listed it.
struct Phonebook {
    std::vector<PhonebookEntry> entries;
    // The count line of the Phonebook.pbk it was read from, where that line is
    // not the one the file's writer puts for these entries (a hand edit): it
    // is written back as it was, and one that is no number keeps the
    // phonebook from being used (damagedPhonebookCount). None otherwise.
    std::optional<std::string> countLine{};
};

// One folder of the last phone read: its messages in the phone's listing order.
using ReadFolder = std::vector<Message>;

struct ReadResult {
    ReadFolder inbox;
    ReadFolder outbox;
    ReadFolder draft;

    ReadFolder& folder(FolderKind kind);
    const ReadFolder& folder(FolderKind kind) const;
    // Whether any of the three folders holds a message.
    bool holdsMessages() const;
};

} // namespace qb
