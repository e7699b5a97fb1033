#pragma once
// Finding fields of a reply line by their delimiters. Positions count from 1.
#include <string_view>

namespace qb {

// Position of the first `c` in `text`, or -1. Callers add 1 to reach the
// character after it; -1 + 1 = 0 then counts as position 1 for charactersFrom().
int firstPosition(char c, std::string_view text);

// Bounds of a field that live on from line to line: a line that lacks a
// delimiter leaves the value an earlier line gave, and the field is cut there.
struct CarriedFieldBounds {
    int fieldStart = 0;
    int fieldEnd = 0;
};

// fieldStart := the first `first`; fieldEnd := the first `second` after it;
// each only when found.
void updateFieldBounds(CarriedFieldBounds& bounds, char first, char second, std::string_view text);

} // namespace qb
