#pragma once
// The one way texts are cut by position: replies, archive lines and list
// cells are all taken apart with it, so odd positions behave the same everywhere.
#include <string>
#include <string_view>

namespace qb {

// Characters start .. start + count - 1, counted from 1. A start below 1 counts
// as 1 without reducing the count; a start past the end or a count of 0 or
// less gives empty text; a count past the end is cut at the end.
std::string charactersFrom(std::string_view text, long long start, long long count);

} // namespace qb
