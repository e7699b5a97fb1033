#pragma once
// Phones send "YYYY/MM/DD,hh:mm:ss" (year first, fields not always padded);
// the list and Inbox.msg keep "DD/MM/YYYY,hh:mm:ss", whose fixed positions the
// date sort relies on.
#include <string>
#include <string_view>

namespace qb {

// Day/Month/Year,Hour:Minute:Second. Fields are padded to two characters,
// never cut; the year is the four characters in front of the first "/";
// anything after the seconds (a zone, a closing quote) stays with them.
std::string normaliseTimestamp(std::string_view text);

} // namespace qb
