#pragma once
// Character sets the simulated phone speaks after "AT+CSCS=".
#include <string>
#include <string_view>

namespace qb {

enum class Charset { Ucs2, Gsm, Ira, Latin1 };

// UTF-8 to UTF-16 code units; a malformed byte becomes U+FFFD. A surrogate in
// its three-byte form (as utf16ToUtf8 writes half a pair) becomes that unit.
std::u16string utf8ToUtf16(std::string_view utf8);
// UTF-16 code units to UTF-8; a lone surrogate is written in its three-byte form.
std::string utf16ToUtf8(std::u16string_view utf16);
// Four upper-case hex digits per UTF-16 code unit, as Motorola phones send them.
std::string ucs2Hex(std::string_view utf8);
// The text as the phone sends it in the given character set. The 8-bit sets
// have no Cyrillic: such characters become '?', as on a phone switched to them.
std::string encodeText(std::string_view utf8, Charset charset);
// Hex digits of a byte string ("0791" for {0x07, 0x91}).
std::string hexBytes(std::string_view bytes);

} // namespace qb
