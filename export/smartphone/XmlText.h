#pragma once
// Text for XML 1.0 attribute values in double quotes: what the format cannot
// carry is dropped and counted, the rest escaped.
#include <array>
#include <string>
#include <string_view>

namespace qb {

// Appends UTF-8 text escaped for the attribute. TAB, LF and CR become
// character references, which a parser's attribute normalisation keeps.
void appendXmlAttribute(std::string& out, std::string_view utf8);

// Windows-1251 archive text straight to escaped UTF-8, byte by byte from a
// table made once from the code page's own conversion.
class Cp1251XmlAttribute {
  public:
    Cp1251XmlAttribute();
    // Returns how many characters were dropped: the control characters XML 1.0
    // forbids (all below U+0020 but TAB, LF and CR).
    // Escapes of the archive (core/ArchiveText.h) become their characters.
    int append(std::string& out, std::string_view cp1251) const;

  private:
    static int appendKept(std::string& out, std::string_view archived);
    // Escaped UTF-8 of one byte; length 0: dropped. "&quot;" is the longest.
    struct Escaped {
        unsigned char length = 0;
        char bytes[7] = {};
    };
    std::array<Escaped, 256> m_escaped;
};

} // namespace qb
