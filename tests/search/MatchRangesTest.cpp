#include "search/MatchRanges.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

// The highlighted parts of `text`, each in brackets.
QString marked(const QString& text, const char* typed) {
    QString out = text;
    const auto ranges = matchRanges(text, parseSearchQuery(QString::fromUtf8(typed)));
    for (auto r = ranges.rbegin(); r != ranges.rend(); ++r) {
        out.insert(r->start + r->length, u']');
        out.insert(r->start, u'[');
    }
    return out;
}

TEST(MatchRangesTest, TermsAreFoundInTheTextAsShown) {
    const struct {
        const char* text;
        const char* typed;
        const char* expected;
    } cases[] = {
        {"Привет, как дела?", "ДЕЛА привет", "[Привет], как [дела]?"},
        {"Ёлка и ёжик", "елка ЕЖ", "[Ёлка] и [ёж]ик"},
        {"дом, домой", "дом", "[дом], [дом]ой"},
        {"Как дела как", "\"как дела\"", "[Как дела] как"},
        {"абаба", "аба", "[абаба]"},       // overlapping occurrences are one range
        {"привет", "при вет", "[привет]"}, // touching ones too
        {"ничего", "дом", "ничего"},
        {"ааа", "", "ааа"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(marked(QString::fromUtf8(c.text), c.typed), QString::fromUtf8(c.expected));
    }
}

TEST(MatchRangesTest, RangesMapBackPastCharactersThatFoldAway) {
    // "ё" stored as "е" and a combining diaeresis: two characters in the text,
    // one in the folded form.
    EXPECT_EQ(marked(s(u"Зеле\u0308ный чай, ёлка"), "зеленый елка"),
              s(u"[Зеле\u0308ный] чай, [ёлка]"));
    EXPECT_EQ(marked(s(u"е\u0308е\u0308 ее"), "ее"), s(u"[е\u0308е\u0308] [ее]"));
    EXPECT_EQ(marked(s(u"Мы е\u0308"), "е"), s(u"Мы [е\u0308]"));
    // A character outside the first plane is two units, and stays two.
    EXPECT_EQ(marked(s(u"🙂 Привет 🙂"), "привет 🙂"),
              s(u"[🙂] [Привет] [🙂]"));
}

} // namespace
} // namespace qb
