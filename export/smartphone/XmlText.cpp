#include "export/smartphone/XmlText.h"

#include "core/Cp1251.h"

#include <QString>

#include <cstring>

namespace qb {
namespace {

bool allowedInXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

void appendXmlAttribute(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
        }
    }
}

Cp1251XmlAttribute::Cp1251XmlAttribute() {
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const QString text = cp1251::toUnicode(std::string_view(&c, 1));
        if (text.size() != 1 || !allowedInXml(text[0].unicode()))
            continue;
        std::string escaped;
        appendXmlAttribute(escaped, text.toStdString());
        Escaped& entry = m_escaped[static_cast<std::size_t>(byte)];
        if (escaped.size() >= sizeof entry.bytes)
            continue; // cannot happen: one character escapes to at most six bytes
        entry.length = static_cast<unsigned char>(escaped.size());
        escaped.copy(entry.bytes, escaped.size());
    }
}

int Cp1251XmlAttribute::append(std::string& out, std::string_view cp1251) const {
    // Room for the longest escape of every byte, written through a pointer and
    // cut to size: a 100 000-message export spends most of its time here.
    const std::size_t start = out.size();
    out.resize(start + cp1251.size() * sizeof(Escaped::bytes));
    char* to = out.data() + start;
    int dropped = 0;
    for (const char c : cp1251) {
        const Escaped& escaped = m_escaped[static_cast<unsigned char>(c)];
        if (escaped.length == 0)
            ++dropped;
        std::memcpy(to, escaped.bytes, sizeof escaped.bytes);
        to += escaped.length;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return dropped;
}

} // namespace qb
