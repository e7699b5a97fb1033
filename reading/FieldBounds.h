#pragma once
// Finding fields of a reply line by their delimiters. Positions count from 1.
#include <string_view>

namespace qb {

// Position of the first `c` in `text`, or -1. Callers add 1 to reach the
// character after it; -1 + 1 = 0 then counts as position 1 for substring().
int CharPos(char c, std::string_view text);

// The window's field bounds, kept from one FindFieldBounds call to the next:
// a call that misses a delimiter leaves its value as it was.
struct FieldBounds {
    int FieldStart = 0;
    int FieldEnd = 0;
};

// FieldStart := the first `first`; FieldEnd := the first `second` after it.
void FindFieldBounds(FieldBounds& bounds, char first, char second, std::string_view text);

} // namespace qb
