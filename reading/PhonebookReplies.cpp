#include "reading/PhonebookReplies.h"

#include "codecs/Ucs2Decoder.h"
#include "core/TextPositions.h"

#include <algorithm>
#include <optional>

namespace qb {
namespace {

// 1-based position of the last `c`, 0 when there is none.
long long lastPos(std::string_view text, char c) {
    const auto pos = text.rfind(c);
    return pos == std::string_view::npos ? 0 : static_cast<long long>(pos) + 1;
}

bool allHex(std::string_view digits) {
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

int hexByte(std::string_view digits, std::size_t at) {
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    return nibble(digits[at]) * 16 + nibble(digits[at + 1]);
}

// Motorola phones sometimes send a name as 8-bit hex, one byte per character
// and a closing zero byte, even while UCS2 is selected. Told apart from UCS2
// by that zero: a Latin UCS2 name holds zero bytes from its first character
// on, a Cyrillic one none at all, and an 8-bit name only at its end.
std::optional<std::string> decodeEightBitHex(std::string_view digits) {
    if (digits.size() < 4 || digits.size() % 2 != 0)
        return std::nullopt;
    std::size_t zero = 0;
    while (zero < digits.size() && hexByte(digits, zero) != 0)
        zero += 2;
    if (zero == 0 || zero == digits.size())
        return std::nullopt;
    for (std::size_t at = zero; at < digits.size(); at += 2)
        if (hexByte(digits, at) != 0)
            return std::nullopt;
    // The bytes are the phone's own code page, taken as Windows-1251 like
    // every text here; a control byte could break the phonebook file's lines.
    std::string name;
    for (std::size_t at = 0; at < zero; at += 2)
        if (const int byte = hexByte(digits, at); byte >= 0x20)
            name += static_cast<char>(byte);
    return name;
}

// The name of an entry line whose number's closing quotation mark is at
// `close` (from 0), when it comes in a form other than the unquoted UCS2
// digits the positional rule expects: quoted UCS2 digits, or 8-bit hex with a
// trailing zero byte, quoted or not. None for any other form.
std::optional<std::string> decodeOtherNameForm(std::string_view line, std::size_t close) {
    // The name is the field after the number type, which may be empty.
    if (close + 1 >= line.size() || line[close + 1] != ',')
        return std::nullopt;
    const auto typeEnd = line.find(',', close + 2);
    if (typeEnd == std::string_view::npos)
        return std::nullopt;
    std::string_view field = line.substr(typeEnd + 1);
    const bool quoted = !field.empty() && field.front() == '"';
    if (quoted) {
        const auto end = field.find('"', 1);
        if (end == std::string_view::npos || (end + 1 < field.size() && field[end + 1] != ','))
            return std::nullopt;
        field = field.substr(1, end - 1);
    }
    if (!allHex(field))
        return std::nullopt;
    if (auto name = decodeEightBitHex(field))
        return name;
    if (quoted && field.size() % 4 == 0)
        return decodeUcs2HexKept(field);
    return std::nullopt;
}

} // namespace

std::optional<std::string> parsePhonebookRangeEnd(std::string_view reply) {
    const long long close = lastPos(reply, ')');
    long long dash = lastPos(reply, '-');
    if (close != 0 && dash == 0) {
        // A one-position range "(250)". Cutting from the reply's start instead
        // would send the echo and its line breaks as part of the next command.
        dash = lastPos(reply.substr(0, static_cast<std::size_t>(close)), '(');
        if (dash == 0)
            return std::nullopt;
    }
    std::string end = charactersFrom(reply, dash + 1, close - dash - 1);
    // It goes into the next command line: a line break inside would make the
    // phone run the rest as a command of its own.
    const bool control = std::any_of(end.begin(), end.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (end.empty() || control)
        return std::nullopt;
    return end;
}

std::vector<PhonebookEntry> parsePhonebookEntries(const LineList& reply) {
    std::vector<PhonebookEntry> entries;
    long long q1 = 0;
    long long q2 = 0;
    for (int i = 1; i < reply.count() - 1; i += 2) {
        const std::string_view line = reply.lineView(i);
        const auto first = line.find('"');
        const auto second = first == std::string_view::npos ? first : line.find('"', first + 1);
        // A line without its two quotation marks reuses the previous entry's positions.
        if (second != std::string_view::npos) {
            q1 = static_cast<long long>(first) + 1;
            q2 = static_cast<long long>(second) + 1;
        }
        const auto length = static_cast<long long>(line.size());
        std::optional<std::string> name;
        if (second != std::string_view::npos)
            name = decodeOtherNameForm(line, second);
        entries.push_back({charactersFrom(line, q1 + 1, q2 - q1 - 1),
                           name
                               ? std::move(*name)
                               : decodeUcs2HexKept(charactersFrom(line, q2 + 6, length - q2 - 5))});
    }
    return entries;
}

} // namespace qb
