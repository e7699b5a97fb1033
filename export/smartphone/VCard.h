#pragma once
// The phonebook as vCard 3.0 (RFC 2426), the format every phone imports
// contacts from: UTF-8, CRLF line ends, lines folded at 75 octets.
#include "archive/ArchiveTypes.h"

#include <string>
#include <string_view>

namespace qb {

struct VCardFile {
    std::string text;
    int contacts = 0;
    int droppedCharacters = 0; // control characters, which a vCard value cannot hold
};

// One card per phonebook entry, in phonebook order. A nameless entry is named
// by its number, since FN must not be empty.
VCardFile phonebookVCards(const Phonebook& phonebook);

// A text value with "\", ",", ";" and line breaks escaped.
std::string escapeVCardValue(std::string_view utf8);

// One content line, CRLF-terminated, folded so no physical line exceeds 75
// octets and no fold splits a UTF-8 character.
std::string foldVCardLine(std::string_view line);

} // namespace qb
