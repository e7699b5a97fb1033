#include "codecs/Ucs2Decoder.h"

#include "codecs/HexDigits.h"
#include "core/ArchiveText.h"
#include "core/Cp1251.h"

#include <QString>

#include <optional>

namespace qb {
namespace {

std::optional<char16_t> parseGroup(std::string_view group) {
    unsigned value = 0;
    for (const char c : group) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<char16_t>(value);
}

// Some Motorola firmware sends the comma with its two bytes swapped.
constexpr char16_t SwappedComma = 0x2C00;

} // namespace

std::string decodeUcs2Hex(std::string_view digits) {
    std::string text;
    text.reserve(digits.size() / 4);
    bool afterCr = false;
    for (std::size_t pos = 0; pos + 4 <= digits.size(); pos += 4) {
        const auto code = parseGroup(digits.substr(pos, 4));
        const bool lfAfterCr = afterCr && code == u'\n';
        afterCr = code == u'\r';
        if (!code || lfAfterCr)
            continue;
        if (*code == u'\r' || *code == u'\n') {
            text += ' ';
        } else if (*code == SwappedComma) {
            text += ',';
        } else if (*code >= 0x20 && *code != 0x7F) {
            if (const auto byte = cp1251::byteFor(*code))
                text += static_cast<char>(*byte);
        }
    }
    return text;
}

std::string decodeUcs2HexKept(std::string_view digits) {
    QString text;
    text.reserve(static_cast<qsizetype>(digits.size() / 4));
    bool afterCr = false;
    for (std::size_t pos = 0; pos + 4 <= digits.size(); pos += 4) {
        const auto code = parseGroup(digits.substr(pos, 4));
        const bool lfAfterCr = afterCr && code == u'\n';
        afterCr = code == u'\r';
        if (!code || lfAfterCr || *code == 0)
            continue;
        if (*code == u'\r' || *code == u'\n')
            text += QLatin1Char(' ');
        else if (*code == SwappedComma)
            text += QLatin1Char(',');
        else
            text += QChar(*code);
    }
    return archivetext::encode(text);
}

} // namespace qb
