#pragma once
// After "AT+CSCS=UCS2" the phone reports message texts and phonebook names as
// runs of hexadecimal digits, four per UTF-16 code unit.
#include <string>
#include <string_view>

namespace qb {

// Turns a UCS2 digit run into Windows-1251 text. Every group of four hex
// digits (either letter case) whose character the code page has becomes that
// byte; a line break (CR, LF, or CR LF together) becomes one blank so that a
// stored text never spans two lines; other control codes, characters the code
// page lacks (emoji, CJK) and groups that are not hexadecimal are dropped.
// 1 to 3 digits left over at the end are ignored.
std::string decodeUcs2Hex(std::string_view digits);

// The same digits with no character lost: what the code page lacks, and
// control codes, kept as the archive's escapes (core/ArchiveText.h). Line
// breaks become one blank and a swapped comma a comma, as above; a zero
// group is padding, not a character, and is dropped with groups that are not
// hexadecimal. Taking every escape out again gives decodeUcs2Hex's text.
std::string decodeUcs2HexKept(std::string_view digits);

} // namespace qb
