#include "export/smartphone/XmlText.h"

#include "core/ArchiveText.h"
#include "core/Cp1251.h"

#include <QList>
#include <QString>

#include <cstring>

namespace qb {
namespace {

bool allowedInXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

// The characters the code page lacks, kept in the archive as escapes, come
// back as themselves.
int Cp1251XmlAttribute::appendKept(std::string& out, std::string_view archived) {
    int dropped = 0;
    QString kept;
    for (const char32_t c : archivetext::decode(archived).toUcs4()) {
        if (!allowedInXml(c))
            ++dropped;
        else
            kept += QString::fromUcs4(&c, 1);
    }
    appendXmlAttribute(out, kept.toStdString());
    return dropped;
}

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
    // Escaped a piece at a time into a buffer on the stack, written through a
    // pointer, then appended: a 100 000-message export spends most of its time
    // here, and growing `out` by the longest escape first would clear seven
    // bytes for every one kept.
    if (archivetext::holdsEscape(cp1251))
        return appendKept(out, cp1251);
    constexpr std::size_t Piece = 512;
    char buffer[Piece * sizeof(Escaped::bytes)];
    int dropped = 0;
    while (!cp1251.empty()) {
        const std::string_view piece = cp1251.substr(0, Piece);
        cp1251.remove_prefix(piece.size());
        char* to = buffer;
        for (const char c : piece) {
            const Escaped& escaped = m_escaped[static_cast<unsigned char>(c)];
            if (escaped.length == 0)
                ++dropped;
            std::memcpy(to, escaped.bytes, sizeof escaped.bytes);
            to += escaped.length;
        }
        out.append(buffer, static_cast<std::size_t>(to - buffer));
    }
    return dropped;
}

} // namespace qb
