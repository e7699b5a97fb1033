#include "core/ArchiveText.h"

#include "core/Cp1251.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace qb::archivetext {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";
constexpr std::size_t ShortestEscape = 8; // DLE U + 4 digits ;
constexpr std::size_t LongestEscape = 10; // DLE U + 6 digits ;

void appendEscape(std::string& out, char32_t code) {
    out += Escape;
    out += "U+";
    int digits = code > 0xFFFFF ? 6 : code > 0xFFFF ? 5 : 4;
    while (digits-- > 0)
        out += HexDigits[(code >> (4 * digits)) & 0xF];
    out += ';';
}

bool isControl(char16_t unit) {
    return unit < 0x20 || unit == 0x7F;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The code point of an escape at the start of `bytes` and the bytes it takes,
// when it reads exactly as the encoder writes it.
std::optional<std::pair<char32_t, std::size_t>> readEscape(std::string_view bytes) {
    if (bytes.size() < ShortestEscape || bytes[0] != Escape || bytes[1] != 'U' || bytes[2] != '+')
        return std::nullopt;
    char32_t code = 0;
    std::size_t at = 3;
    while (at < bytes.size() && at < LongestEscape - 1 && hexValue(bytes[at]) >= 0)
        code = code * 16 + char32_t(hexValue(bytes[at++]));
    const std::size_t digits = at - 3;
    if (digits < 4 || at >= bytes.size() || bytes[at] != ';')
        return std::nullopt;
    if ((digits > 4 && bytes[3] == '0') || code > 0x10FFFF)
        return std::nullopt; // not a form the encoder writes
    return std::make_pair(code, at + 1);
}

void appendCode(QString& out, char32_t code) {
    if (code > 0xFFFF) {
        out += QChar(char16_t(0xD800 + ((code - 0x10000) >> 10)));
        out += QChar(char16_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
        out += QChar(char16_t(code)); // a lone surrogate included
    }
}

} // namespace

std::string encode(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            appendEscape(out, QChar::surrogateToUcs4(unit, text.at(i + 1).unicode()));
            ++i;
            continue;
        }
        const auto byte = isControl(unit) ? std::nullopt : cp1251::byteFor(unit);
        if (byte)
            out += static_cast<char>(*byte);
        else
            appendEscape(out, unit);
    }
    return out;
}

QString decode(std::string_view bytes) {
    if (!holdsEscape(bytes))
        return cp1251::toUnicode(bytes);
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        const auto escape = std::string_view(bytes).find(Escape);
        out += cp1251::toUnicode(bytes.substr(0, escape));
        if (escape == std::string_view::npos)
            break;
        bytes.remove_prefix(escape);
        if (const auto code = readEscape(bytes)) {
            appendCode(out, code->first);
            bytes.remove_prefix(code->second);
        } else {
            out += cp1251::toUnicode(bytes.substr(0, 1));
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::string withoutEscapes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const auto escape = bytes.find(Escape);
        out += bytes.substr(0, escape);
        if (escape == std::string_view::npos)
            break;
        bytes.remove_prefix(escape);
        const auto code = readEscape(bytes);
        if (!code)
            out += Escape;
        bytes.remove_prefix(code ? code->second : 1);
    }
    return out;
}

std::size_t prefixOfCharacters(std::string_view bytes, std::size_t characters) {
    if (!holdsEscape(bytes.substr(0, characters)))
        return std::min(characters, bytes.size());
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < characters && at < bytes.size(); ++taken) {
        const auto code = bytes[at] == Escape ? readEscape(bytes.substr(at)) : std::nullopt;
        at += code ? code->second : 1;
    }
    return at;
}

bool holdsEscape(std::string_view bytes) {
    return !bytes.empty() && std::memchr(bytes.data(), Escape, bytes.size()) != nullptr;
}

QString foldLineBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        out += (c == u'\r' || c == u'\n') ? QChar(u' ') : c;
    }
    return out;
}

} // namespace qb::archivetext
