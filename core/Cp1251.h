#pragma once
// Conversion between the program's Windows-1251 bytes and Unicode. It happens
// only at the edges: the widgets and the phone's UCS2 digits.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace qb::cp1251 {

QString toUnicode(std::string_view bytes);
// Characters Windows-1251 cannot represent become '?'.
std::string fromUnicode(const QString& text);
// The Windows-1251 byte for one UTF-16 code unit, or none when the code page
// has no such character.
std::optional<unsigned char> byteFor(char16_t code);

} // namespace qb::cp1251
