#pragma once
// The data the archive, the phone read and the windows share. Every text is
// Windows-1251 bytes.
#include <optional>
#include <string>
#include <vector>

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

// Lines per stored record: Text, Index, Header (and Date for Inbox).
constexpr int recordSize(FolderKind kind) {
    return kind == FolderKind::Inbox ? 4 : 3;
}

// One stored message. Status and Correspondent are derived when loading.
struct ArchiveRecord {
    std::string text;
    std::string index;
    std::string header;
    std::string date; // Inbox only
    std::string status;
    std::string correspondent;
};

struct PhonebookEntry {
    std::string number;
    std::string name;
};

// The in-memory phonebook. The count line is kept as text: a hand-edited file
// may hold one that is not a number, which the list and the next capture report.
struct Phonebook {
    std::optional<std::string> countText; // none: no count held (nothing loaded or captured)
    std::vector<PhonebookEntry> entries;
};

// One message of the last phone read, with the fields as they are stored.
struct ReadEntry {
    std::string header;
    std::string text;
    std::string index;
    std::string status;
    std::string date; // Inbox only
    // The text's UCS2 digits as the phone listed them. Not stored: the merge
    // decodes them the way earlier versions did to recognise their records.
    std::string textHex{};
};

// One folder of the last phone read. Positions above the count keep what an
// earlier read or deletion left there; only countMark says how many are valid.
struct ReadFolder {
    std::string countMark;          // decimal n - 1; empty until the first read writes it
    std::vector<ReadEntry> entries; // entries[k - 1] is position k

    // The number of valid positions, countMark + 1; none when countMark is not a number.
    std::optional<int> count() const;
    // Position k (from 1); grows the sequence when needed.
    ReadEntry& at(int k);
    const ReadEntry* find(int k) const;
};

struct ReadResult {
    ReadFolder inbox;
    ReadFolder outbox;
    ReadFolder draft;

    ReadFolder& folder(FolderKind kind);
    const ReadFolder& folder(FolderKind kind) const;
};

} // namespace qb
