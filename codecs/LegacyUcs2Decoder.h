#pragma once
// Earlier versions of the program decoded UCS2 digits by a fixed table of 147
// codes and dropped everything else, line breaks included. Their archives hold
// texts decoded that way, and the merge must recognise those messages when the
// phone lists them again.
#include <string>
#include <string_view>

namespace qb {

// The text the earlier decoding made of a UCS2 digit run: Russian and Latin
// letters, digits, "Ё", "ё", "№" and the punctuation ! " % ( ) * + , - . / : ; = ? @
// and blank, each group spelled with upper-case hex letters only (the comma
// also with its bytes swapped); every other group is dropped, and 1 to 3
// digits left over at the end are ignored.
std::string decodeUcs2HexLegacy(std::string_view digits);

} // namespace qb
