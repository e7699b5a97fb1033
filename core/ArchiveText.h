#pragma once
// Message texts as the archive keeps them: Windows-1251, one byte per
// character, a whole text on one line. The code page lacks most characters a
// phone can send (the Greek capitals of the GSM alphabet, CJK, emoji), and a
// line can hold neither a line break nor a zero byte. Each such character is
// kept as an escape instead of being dropped:
//
//     DLE "U+" <4 to 6 upper-case hex digits, no leading zero past 4> ";"
//
// for example "\x10U+1F600;" for 😀 and "\x10U+0394;" for Δ. The code point is
// escaped whole, so a surrogate pair is one escape; a lone surrogate (half a
// pair cut off by a phone) is escaped as its own code unit and comes back as
// it was.
//
// DLE (0x10, "data link escape") is what makes the form unmistakable. No
// ordinary message text holds it: a phone's keypad cannot type it, the phone
// decoders have always dropped control codes, and a P2kTools archive is text
// from the same phones. Everything after a DLE that does not read exactly as
// above (a DLE in an imported line, an escape cut by a reader's line limit,
// lower-case digits, a code point past U+10FFFF) stays as it stands, so no
// byte sequence fails to decode and older archives read as they always did.
// A DLE in the text itself is escaped like any other control code, so every
// text comes back from its encoding unchanged, look-alikes included.
#include <QString>
#include <string>
#include <string_view>

namespace qb::archivetext {

constexpr char Escape = '\x10';

// The archive bytes of a text: each character the code page has, except
// control codes (C0 and DEL), as its byte; every other one as an escape.
std::string encode(const QString& text);

// The text archive bytes stand for: escapes turned back into their characters,
// every other byte read as Windows-1251.
QString decode(std::string_view bytes);

// The bytes with every escape taken out: the text as decoders that dropped
// what the code page lacks made it, for recognising what they archived.
std::string withoutEscapes(std::string_view bytes);

// How many bytes the first `characters` characters of the bytes take, an
// escape counting as one character.
std::size_t prefixOfCharacters(std::string_view bytes, std::size_t characters);

// Whether the bytes hold a DLE: only then may decode() read them otherwise than
// byte by byte, so readers of many texts can take the quick way.
bool holdsEscape(std::string_view bytes);

// The text with each line break (CR LF, CR or LF) turned into one blank, as the
// phone's texts have always been archived: the list shows one line per message
// and records made before escapes existed compare equal.
QString foldLineBreaks(const QString& text);

} // namespace qb::archivetext
