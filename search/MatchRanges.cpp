#include "search/MatchRanges.h"

#include "search/SearchFolding.h"

#include <algorithm>

namespace qb {

std::vector<TextRange> matchRanges(QStringView text, const SearchQuery& query) {
    const FoldedText folded = foldForSearch(text);
    std::vector<TextRange> found; // in folded positions first
    for (const QString& term : query.terms) {
        for (qsizetype at = folded.text.indexOf(term); at >= 0;
             at = folded.text.indexOf(term, at + 1))
            found.push_back({at, term.size()});
    }
    std::sort(found.begin(), found.end(),
              [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
    std::vector<TextRange> ranges;
    for (const TextRange& match : found) {
        const qsizetype start = folded.originOf(match.start);
        const qsizetype end = folded.originOf(match.start + match.length);
        if (!ranges.empty() && start <= ranges.back().start + ranges.back().length)
            ranges.back().length = std::max(ranges.back().length, end - ranges.back().start);
        else
            ranges.push_back({start, end - start});
    }
    return ranges;
}

} // namespace qb
