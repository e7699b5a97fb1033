#pragma once
// Finding fields of a reply line by their delimiters. Positions count from 1.
#include <string_view>

namespace qb {

// Position of the first `c` in `text`, or -1. Callers add 1 to reach the
// character after it; -1 + 1 = 0 then counts as position 1 for substring().
int charPos(char c, std::string_view text);

// Field bounds kept from one findFieldBounds call to the next:
// a call that misses a delimiter leaves its value as it was.
struct FieldBounds {
    int fieldStart = 0;
    int fieldEnd = 0;
};

// fieldStart := the first `first`; fieldEnd := the first `second` after it.
void findFieldBounds(FieldBounds& bounds, char first, char second, std::string_view text);

} // namespace qb
