// Any bytes as the content of a folder file (all three layouts) and of
// Phonebook.pbk, as a hand edit, a damaged disk or another program may leave
// them. An input that starts with a mark has its first line stretched past a
// megabyte, which the fuzzer's input size limit would never reach on its own;
// a seed starts with it, so the fuzzer keeps producing such inputs.
#include "archive/ArchiveFiles.h"
#include "archive/FileLines.h"
#include "archive/RecordLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t LongLine = (1u << 20) + 17;
// An input starting with this byte has its first line repeated past LongLine.
constexpr std::uint8_t StretchMark = 0x7F;

void require(bool holds) {
    if (!holds)
        std::abort();
}

// A field a reader hands on: one line of at most 4096 characters.
void requireField(const std::string& field) {
    require(field.size() <= qb::LineList::MaxLineLength);
    require(field.find_first_of("\r\n") == std::string::npos);
}

// A message read from a file is the file's lines again, byte for byte as a
// reader sees them: written back, it reads as the same message.
void loadFolders(std::string_view content) {
    const std::size_t lines = qb::fileLines::count(content);
    for (const auto kind : {qb::FolderKind::Inbox, qb::FolderKind::Outbox, qb::FolderKind::Draft}) {
        const std::size_t size = static_cast<std::size_t>(qb::record::lineCount(kind));
        const qb::ArchiveFolder folder = qb::ArchiveFolder::fromContent(kind, std::string(content));
        const bool tooShort = kind != qb::FolderKind::Inbox && lines <= 1;
        require(static_cast<std::size_t>(folder.count()) ==
                (tooShort ? 0 : (lines + size - 1) / size));
        std::string written;
        for (const qb::MessageView message : folder) {
            for (const std::string_view field : {message.text, message.number})
                requireField(std::string(field));
            require(message.number.size() <= message.stored.header->size());
            require(!message.time || message.time->isValid());
            qb::record::appendRecord(written, message);
        }
        const qb::ArchiveFolder again = qb::ArchiveFolder::fromContent(kind, written);
        require(again.count() == folder.count());
        std::string rewritten;
        for (const qb::MessageView message : again)
            qb::record::appendRecord(rewritten, message);
        require(rewritten == written);
    }
}

void loadPhonebook(std::string_view content) {
    const qb::Phonebook phonebook = qb::parsePhonebook(content);
    require(phonebook.entries.size() <= static_cast<std::size_t>(qb::MaxPhonebookEntries));
    require(phonebook.entries.size() <= qb::fileLines::count(content) / 2);
    for (const qb::PhonebookEntry& entry : phonebook.entries) {
        requireField(entry.number);
        requireField(entry.name);
    }
    // A count the smartphone export accepts reads entries wherever lines follow
    // it: the export never turns a phonebook with entries into no contacts.
    qb::fileLines::Cursor lines(content);
    std::string_view line;
    bool linesAfterCount = false;
    for (bool first = true; !linesAfterCount && lines.next(line); first = false)
        linesAfterCount = !first && !line.empty();
    if (!qb::damagedPhonebookFile(content) && linesAfterCount)
        require(!phonebook.entries.empty());
    // What was loaded is saved again as it was: the same count line and entries.
    const qb::PhonebookText saved = qb::phonebookFileContent(phonebook);
    if (!saved.failure) {
        const qb::Phonebook again = qb::parsePhonebook(saved.content);
        require(qb::phonebookFileContent(again).content.substr(0, saved.content.find('\n')) ==
                saved.content.substr(0, saved.content.find('\n')));
        require(again.entries.size() >= phonebook.entries.size());
        for (std::size_t j = 0; j < phonebook.entries.size(); ++j) {
            require(again.entries[j].number == phonebook.entries[j].number);
            require(again.entries[j].name == phonebook.entries[j].name);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string content(reinterpret_cast<const char*>(data), size);
    if (size > 0 && data[0] == StretchMark) {
        const std::size_t end = content.find_first_of("\r\n");
        const std::size_t length = end == std::string::npos ? content.size() : end;
        std::string stretched = content.substr(0, length);
        while (stretched.size() < LongLine)
            stretched += stretched;
        content.replace(0, length, stretched);
    }
    loadFolders(content);
    loadPhonebook(content);
    return 0;
}
