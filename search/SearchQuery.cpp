#include "search/SearchQuery.h"

#include "search/SearchFolding.h"

#include <algorithm>

namespace qb {
namespace {

bool isQuote(QChar c) {
    switch (c.unicode()) {
    case u'"':
    case 0x201C: // “
    case 0x201D: // ”
    case 0x201E: // „
    case 0x00AB: // «
    case 0x00BB: // »
        return true;
    default:
        return false;
    }
}

bool separates(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

void addTerm(SearchQuery& query, QStringView written) {
    const bool blank = std::all_of(written.begin(), written.end(), separates);
    if (blank)
        return;
    QString term = foldForSearch(written).text;
    if (std::find(query.terms.begin(), query.terms.end(), term) == query.terms.end())
        query.terms.push_back(std::move(term));
}

} // namespace

SearchQuery parseSearchQuery(QStringView typed) {
    SearchQuery query;
    qsizetype i = 0;
    while (i < typed.size()) {
        if (separates(typed[i])) {
            ++i;
        } else if (isQuote(typed[i])) {
            const qsizetype start = ++i;
            while (i < typed.size() && !isQuote(typed[i]))
                ++i;
            addTerm(query, typed.sliced(start, i - start));
            ++i; // past the closing quote, or the end
        } else {
            const qsizetype start = i;
            while (i < typed.size() && !separates(typed[i]) && !isQuote(typed[i]))
                ++i;
            addTerm(query, typed.sliced(start, i - start));
        }
    }
    return query;
}

} // namespace qb
