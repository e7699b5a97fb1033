#include "archive/ArchiveFiles.h"

#include "archive/FileLines.h"
#include "core/Cp1251.h"
#include "core/FileStore.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace qb {
namespace {

// The count line the writer puts for `entries` entries.
std::string countLineFor(std::size_t entries) {
    return std::to_string(2 * entries + 1);
}

} // namespace

Phonebook parsePhonebook(std::string_view content) {
    fileLines::Cursor cursor(content);
    const auto nextLine = [&cursor] {
        std::string_view line;
        return cursor.next(line) ? fileLines::readerView(line) : std::string_view();
    };
    Phonebook phonebook;
    const std::string_view first = nextLine();
    if (first.empty())
        return phonebook;
    const auto count = parseWholeNumber(first);
    if (!count || *count < 2) {
        if (first != countLineFor(0))
            phonebook.countLine = std::string(first);
        return phonebook;
    }
    // Entry j is on lines 2j and 2j + 1 (from 1) while 2j - 1 < count. A count
    // larger than the file would only add empty entries, so the file's last line
    // and the phonebook's capacity bound the loop, not the count alone; lines
    // after the last entry are never taken apart.
    const std::size_t byCount = static_cast<std::size_t>(*count) / 2;
    const std::size_t byFile = fileLines::count(content) / 2;
    const std::size_t entries =
        std::min({byCount, byFile, static_cast<std::size_t>(MaxPhonebookEntries)});
    phonebook.entries.reserve(entries);
    for (std::size_t j = 1; j <= entries; ++j) {
        PhonebookEntry entry;
        entry.number = nextLine();
        entry.name = nextLine();
        phonebook.entries.push_back(std::move(entry));
    }
    if (first != countLineFor(entries))
        phonebook.countLine = std::string(first);
    return phonebook;
}

MaybeFailure loadPhonebook(const QString& workDir, Phonebook& phonebook) {
    const QString path = resolveInDir(workDir, PhonebookFileName);
    const FileRead file = readWholeFile(path);
    if (file.failure)
        return file.failure;
    try {
        if (file.exists)
            phonebook = parsePhonebook(file.bytes);
    } catch (const std::bad_alloc&) {
        return Failure::cannotOpen(path, QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
    return std::nullopt;
}

MaybeFailure damagedPhonebookCount(const Phonebook& phonebook) {
    if (phonebook.countLine && !parseWholeNumber(*phonebook.countLine))
        return Failure::notInteger(cp1251::toUnicode(*phonebook.countLine));
    return std::nullopt;
}

MaybeFailure damagedPhonebookFile(std::string_view content) {
    fileLines::Cursor cursor(content);
    std::string_view first;
    cursor.next(first);
    first = fileLines::readerView(first);
    bool entriesAfter = false;
    for (std::string_view line; !entriesAfter && cursor.next(line);)
        entriesAfter = !line.empty();
    const std::optional<int> count = parseWholeNumber(first);
    // Entries need a count of 2n + 1 >= 3 (2 still names one); the writer puts
    // "1" and an empty line for no entries, and an empty file is no phonebook.
    const bool describes =
        first.empty() ? !entriesAfter : count && *count >= 0 && (*count >= 2 || !entriesAfter);
    if (describes)
        return std::nullopt;
    return Failure::notInteger(cp1251::toUnicode(first));
}

PhonebookCopy loadPhonebookCopy(const QString& workDir) {
    PhonebookCopy copy;
    const QString path = resolveInDir(workDir, PhonebookFileName);
    const FileRead file = readWholeFile(path);
    if ((copy.failure = file.failure))
        return copy;
    if (MaybeFailure damaged = damagedPhonebookFile(file.bytes)) {
        copy.failure = Failure::message(path + QStringLiteral(": ") + damaged->text());
        copy.damagedCount = true;
        return copy;
    }
    copy.phonebook = parsePhonebook(file.bytes);
    return copy;
}

PhonebookText phonebookFileContent(const Phonebook& phonebook) {
    if (MaybeFailure damaged = damagedPhonebookCount(phonebook))
        return {{}, std::move(damaged)};
    PhonebookText text;
    text.content = phonebook.countLine.value_or(countLineFor(phonebook.entries.size())) + "\r\n";
    for (const PhonebookEntry& entry : phonebook.entries) {
        text.content += entry.number;
        text.content += "\r\n";
        text.content += entry.name;
        text.content += "\r\n";
    }
    text.content += "\r\n";
    return text;
}

MaybeFailure savePhonebook(const QString& workDir, const Phonebook& phonebook) {
    const PhonebookText text = phonebookFileContent(phonebook);
    if (text.failure)
        return text.failure;
    return writeWholeFile(resolveInDir(workDir, PhonebookFileName), text.content);
}

} // namespace qb
