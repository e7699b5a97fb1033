#include "search/SearchQuery.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

std::vector<QString> termsOf(const char* typed) {
    return parseSearchQuery(QString::fromUtf8(typed)).terms;
}

std::vector<QString> list(std::initializer_list<const char*> terms) {
    std::vector<QString> out;
    for (const char* t : terms)
        out.push_back(QString::fromUtf8(t));
    return out;
}

TEST(SearchQueryTest, WordsPhrasesAndQuotes) {
    const struct {
        const char* typed;
        std::vector<QString> terms;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"Привет", list({"привет"})},
        {"  как   дела ", list({"как", "дела"})},
        {"\"Как  дела\"", list({"как  дела"})}, // a phrase keeps its blanks as written
        {"встреча \"у метро\" завтра", list({"встреча", "у метро", "завтра"})},
        {"\"у метр", list({"у метр"})}, // a quote left open runs to the end
        {"\"у метро\" \"", list({"у метро"})},
        {"\"\" \"  \"", {}}, // empty and blank phrases are no terms
        {"дом\"а\"", list({"дом", "а"})},
        {"«Спартак» чемпион", list({"спартак", "чемпион"})},
        {"“good night”", list({"good night"})},
        {"ЁЛКА ёлка елка", list({"елка"})}, // one term after folding
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(termsOf(c.typed), c.terms);
    }
}

} // namespace
} // namespace qb
