#include "search/SearchIndex.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

struct Message {
    const char* text;
    const char* number;
    const char* name;
};

// A folder as the window would prepare it.
std::shared_ptr<const PreparedFolder> prepare(int folder, const std::vector<Message>& messages) {
    FolderIndexBuilder builder(folder);
    for (const Message& m : messages)
        builder.add(QString::fromUtf8(m.text), QString::fromUtf8(m.number),
                    QString::fromUtf8(m.name));
    return builder.finish();
}

std::vector<int> positions(const SearchIndex& index, const char* typed) {
    std::vector<int> out;
    for (const SearchHit& hit : index.find(parseSearchQuery(QString::fromUtf8(typed))))
        out.push_back(hit.position);
    return out;
}

const std::vector<Message> Folder = {
    /*0*/ {"Привет! Как дела?", "+79161234567", "Маша"},
    /*1*/ {"Купи ХЛЕБА и молока", "8 (916) 765-43-21", "Мама"},
    /*2*/ {"С Новым годом, ёлка уже стоит", "+79161234567", "Маша"},
    /*3*/ {"ЁЛКИ-ПАЛКИ, опаздываю", "900", ""},
    /*4*/ {"Call me later, OK?", "+441632960123", "John Smith"},
    /*5*/ {"как дела у тебя? привет маме", "Beeline", ""},
    /*6*/
    {"Встретимся у метро 🙂 в семь", "+79035550011", "Иван"}, // no
                                                                                     // Windows-1251
                                                                                     // form
    /*7*/ {"Ёжик пришёл домой", "+79035550011", "Иван"},
    /*8*/ {"", "+79991112233", "Пустое"},
    /*9*/ {"Зелёный чай", "+79035550011", "ИВАН"},
};

TEST(SearchIndexTest, TheMatchingRules) {
    SearchIndex index;
    index.setFolder(prepare(5, Folder));
    const struct {
        const char* typed;
        std::vector<int> expected;
    } cases[] = {
        {"привет", {0, 5}}, // any case
        {"ПРИВЕТ", {0, 5}},
        {"хлеба", {1}},
        {"елка", {2}}, // "ё" as "е", both ways
        {"ёлки", {3}},
        {"Елки", {3}},
        {"пришел", {7}},
        {"зеленый", {9}},
        {"дела привет", {0, 5}}, // every word, in any order
        {"привет маме", {5}},
        {"привет хлеба", {}},
        {"\"как дела\"", {0, 5}}, // a phrase as written
        {"\"дела как\"", {}},
        {"\"привет маме\"", {5}},
        {"\"привет  маме\"", {}},
        {"\"как дела", {0, 5}}, // still being typed
        {"маша", {0, 2}},       // the name
        {"иван", {6, 7, 9}},    // ... with a text of any kind
        {"john", {4}},
        {"9161234567", {0, 2}}, // the number
        {"916", {0, 1, 2}},     // ... also by its digits without the blanks
        {"9167654321", {1}},
        {"(916) 765", {1}},
        {"+7916", {0, 2}},
        {"900", {3}},
        {"beeline", {5}},
        {"🙂", {6}}, // a character beyond Windows-1251
        {"метро", {6}},
        {"иван метро", {6}},
        {"пустое", {8}},
        {"ok", {4}},
        {"нет такого", {}},
        {"а", {0, 1, 2, 3, 5, 6, 7, 9}}, // Cyrillic only: "Call" has a Latin one
        {"маша\"", {0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(positions(index, c.typed), c.expected);
    }
}

TEST(SearchIndexTest, ATermNeverSpansTwoFieldsOrTwoMessages) {
    SearchIndex index;
    index.setFolder(prepare(0, {{"до", "123", "Аня"}, {"свидания", "456", "Оля"}}));
    EXPECT_TRUE(positions(index, "\"до свидания\"").empty());
    EXPECT_TRUE(positions(index, "до свидания").empty());
    EXPECT_TRUE(positions(index, "аня123").empty());
    EXPECT_TRUE(positions(index, "\"123 до\"").empty());
}

TEST(SearchIndexTest, AnYoWrittenAsTwoCharactersIsAnE) {
    SearchIndex index;
    index.setFolder(prepare(0, {{"", "", ""}}));
    FolderIndexBuilder builder(1);
    builder.add(u"Е\u0308лка и е\u0308ж", u"", u"");
    index.setFolder(builder.finish());
    EXPECT_EQ(positions(index, "елка еж"), std::vector<int>{0});
    EXPECT_EQ(positions(index, "\"ёлка и ёж\""), std::vector<int>{0});
}

TEST(SearchIndexTest, FoldersComeInTheirOrderAndAreReplacedWhole) {
    SearchIndex index;
    index.setFolder(prepare(7, {{"дом", "", ""}}));
    index.setFolder(prepare(2, {{"не тот", "", ""}, {"домой", "", ""}}));
    index.setFolder(prepare(4, {{"дома", "", ""}}));
    const auto hits = index.find(parseSearchQuery(u"дом"));
    EXPECT_EQ(hits, (std::vector<SearchHit>{{2, 1}, {4, 0}, {7, 0}}));
    EXPECT_EQ(index.documentCount(), 4);

    index.setFolder(prepare(2, {{"домик", "", ""}}));
    index.removeFolder(4);
    EXPECT_EQ(index.find(parseSearchQuery(u"дом")), (std::vector<SearchHit>{{2, 0}, {7, 0}}));
    EXPECT_EQ(index.find(SearchQuery{}).size(), 2u); // no terms: every message
}

TEST(SearchIndexTest, AStopRequestedEndsTheScanWithNothing) {
    FolderIndexBuilder builder(0);
    for (int k = 0; k < 20000; ++k)
        builder.add(u"привет", u"", u"");
    SearchIndex index;
    index.setFolder(builder.finish());
    Cancellation cancel;
    EXPECT_EQ(index.find(parseSearchQuery(u"привет"), &cancel).size(), 20000u);
    cancel.request();
    EXPECT_TRUE(index.find(parseSearchQuery(u"привет"), &cancel).empty());
    EXPECT_TRUE(cancel.stopped());
}

} // namespace
} // namespace qb
