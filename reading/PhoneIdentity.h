#pragma once
// Who made the phone, from its answer to a standard identification command:
// a Motorola phone chosen by port, with no USB vendor to go by, keeps its own
// dialogue.
#include "phonelink/UsbModems.h"
#include "reading/ReplyLines.h"

#include <string>
#include <string_view>

namespace qb {

// AT+CGMI (`+CGMI: "Motorola CE, Copyright 2000"`, `Nokia`, `"SAMSUNG"`) or,
// where that is refused, ATI (its first line): the maker's name, quotes and
// prefix taken off.
Parsed<std::string> parseManufacturer(std::string_view reply);

// The dialogue for a phone named so: Motorola's for any name holding
// "MOTOROLA" in any letter case, the standard one for every other.
PhoneDialogue dialogueForMaker(std::string_view manufacturer);

} // namespace qb
