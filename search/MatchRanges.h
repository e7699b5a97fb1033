#pragma once
// Where a search's terms occur in a text as the user sees it, for
// highlighting: found in the folded text, then mapped back, so a match ends
// after an "ё" stored as two characters as well as after one.
#include "search/SearchQuery.h"

#include <QStringView>
#include <vector>

namespace qb {

struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextRange&) const = default;
};

// Every occurrence of every term, in text order; overlapping and touching
// occurrences are joined into one range.
std::vector<TextRange> matchRanges(QStringView text, const SearchQuery& query);

} // namespace qb
