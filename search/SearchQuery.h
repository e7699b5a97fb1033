#pragma once
// What the user typed into the search field, taken apart: each word is a term,
// and so is a phrase in double quotes, blanks included. A message matches when
// it holds every term, in any order, each ignoring case and "ё".
#include <QString>
#include <QStringView>
#include <vector>

namespace qb {

struct SearchQuery {
    std::vector<QString> terms; // folded (SearchFolding.h), none empty, none repeated

    bool isEmpty() const { return terms.empty(); }
};

// A quote left open runs to the end, so a phrase being typed already
// searches; empty and blank phrases are no terms. Typographic double quotes
// (“ ” „ « ») count as the plain one.
SearchQuery parseSearchQuery(QStringView typed);

} // namespace qb
