#include "codecs/LegacyUcs2Decoder.h"

#include <optional>

namespace qb {
namespace {

// Only digits and upper-case letters: the earlier table's keys were spelled that way.
std::optional<unsigned> parseUpperGroup(std::string_view group) {
    unsigned value = 0;
    for (const char c : group) {
        if (c >= '0' && c <= '9')
            value = value * 16 + static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            value = value * 16 + static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return value;
}

bool isKeptPunctuation(unsigned code) {
    constexpr std::string_view kept = " !\"%()*+,-./:;=?@";
    return code < 0x80 && kept.find(static_cast<char>(code)) != std::string_view::npos;
}

std::optional<char> legacyByte(unsigned code) {
    if (code >= 0x0410 && code <= 0x044F) // А … я, in code page order
        return static_cast<char>(0xC0 + (code - 0x0410));
    switch (code) {
    case 0x0401:
        return static_cast<char>(0xA8); // Ё
    case 0x0451:
        return static_cast<char>(0xB8); // ё
    case 0x2116:
        return static_cast<char>(0xB9); // №
    case 0x2C00:
        return ','; // the comma with its bytes swapped
    default:
        break;
    }
    const bool alphanumeric = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
                              (code >= 'a' && code <= 'z');
    if (alphanumeric || isKeptPunctuation(code))
        return static_cast<char>(code);
    return std::nullopt;
}

} // namespace

std::string decodeUcs2HexLegacy(std::string_view digits) {
    std::string text;
    for (std::size_t pos = 0; pos + 4 <= digits.size(); pos += 4) {
        const auto code = parseUpperGroup(digits.substr(pos, 4));
        if (!code)
            continue;
        if (const auto byte = legacyByte(*code))
            text += *byte;
    }
    return text;
}

} // namespace qb
