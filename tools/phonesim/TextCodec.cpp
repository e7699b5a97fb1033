#include "tools/phonesim/TextCodec.h"

namespace qb {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Code point at the start of utf8 and the bytes it takes; 0xFFFD for junk.
std::pair<char32_t, std::size_t> nextCodePoint(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || length > utf8.size())
        return {0xFFFD, 1};
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[i]);
        if ((next & 0xC0) != 0x80)
            return {0xFFFD, 1};
        cp = (cp << 6) | (next & 0x3F);
    }
    return {cp, length};
}

} // namespace

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    while (!utf8.empty()) {
        const auto [cp, length] = nextCodePoint(utf8);
        utf8.remove_prefix(length);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string ucs2Hex(std::string_view utf8) {
    std::string out;
    for (const char16_t unit : utf8ToUtf16(utf8))
        for (int shift = 12; shift >= 0; shift -= 4)
            out += HexDigits[(unit >> shift) & 0xF];
    return out;
}

std::string encodeText(std::string_view utf8, Charset charset) {
    if (charset == Charset::Ucs2)
        return ucs2Hex(utf8);
    const char16_t limit = charset == Charset::Latin1 ? 0xFF : 0x7F;
    std::string out;
    for (const char16_t unit : utf8ToUtf16(utf8)) {
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            continue; // second half of a pair: one '?' for the whole character
        out += unit <= limit ? static_cast<char>(unit) : '?';
    }
    return out;
}

std::string hexBytes(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += HexDigits[b >> 4];
        out += HexDigits[b & 0xF];
    }
    return out;
}

} // namespace qb
