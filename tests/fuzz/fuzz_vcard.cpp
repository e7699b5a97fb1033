// Any bytes as Phonebook.pbk, written as vCard contacts: one card per entry
// holding something, clean UTF-8, CRLF line ends only, no physical line over
// 75 octets.
#include "archive/ArchiveFiles.h"
#include "export/smartphone/VCard.h"
#include "fuzz_smartphone_writers.h"

#include <cstdint>
#include <string>
#include <string_view>

using fuzzcheck::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const qb::Phonebook phonebook = qb::parsePhonebook(content);
    const qb::VCardFile cards = qb::phonebookVCards(phonebook);
    // An entry with neither number nor name makes no card.
    const auto contacts = static_cast<std::size_t>(cards.contacts);
    require(contacts <= phonebook.entries.size());
    fuzzcheck::requireCleanUtf8(cards.text);
    require(cards.text.find('\x7f') == std::string::npos);
    // A name may hold "BEGIN:VCARD" itself; only a line of its own opens a card.
    std::size_t opened = 0;
    const std::string_view text(cards.text);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        require(end != std::string_view::npos);
        const std::string_view line = text.substr(start, end - start);
        require(line.size() <= 75 && line.find_first_of("\r\n") == std::string_view::npos);
        opened += line == "BEGIN:VCARD";
        start = end + 2;
    }
    require(opened == contacts);
    return 0;
}
