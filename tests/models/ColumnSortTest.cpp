// Sorting the message list by its columns: the comparisons of each column.
#include "models/ColumnSort.h"
#include "models/MessageListModel.h"

#include <gtest/gtest.h>

using namespace qb;
using Model = MessageListModel;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

MessageRow row(const char* text, const char* from = "", const char* date = "----------------",
               const char* index = "1") {
    MessageRow r;
    r.text = u(text);
    r.from = u(from);
    r.date = u(date);
    r.index = u(index);
    r.size = static_cast<int>(r.text.size());
    return r;
}

QString cell(const MessageRow& r, int column) {
    switch (column) {
    case Model::FromColumn:
        return r.from;
    case Model::DateColumn:
        return r.date;
    case Model::SizeColumn:
        return QString::number(r.size);
    case Model::IndexColumn:
        return r.index;
    default:
        return r.text;
    }
}

// The rows in the order the column's comparison gives them.
std::vector<MessageRow> inOrder(const std::vector<MessageRow>& rows, int c,
                                SortDirection direction) {
    const SortOrder order = sortOrder(rows, c, direction);
    EXPECT_FALSE(order.failure);
    std::vector<MessageRow> sorted;
    for (const int at : order.rows)
        sorted.push_back(rows[std::size_t(at)]);
    return sorted;
}

QStringList column(const std::vector<MessageRow>& rows, int c) {
    QStringList cells;
    for (const MessageRow& r : rows)
        cells << cell(r, c);
    return cells;
}

QStringList sorted(const std::vector<MessageRow>& rows, int c, SortDirection direction) {
    return column(inOrder(rows, c, direction), c);
}

constexpr auto Up = SortDirection::Ascending;
constexpr auto Down = SortDirection::Descending;

} // namespace

TEST(ColumnComparisons, TextFoldsCaseInTheCodePageAndComparesBytes) {
    EXPECT_EQ(foldedKey(u("abcz")), "ABCZ");
    EXPECT_EQ(foldedKey(u("привет ёж")), foldedKey(u("ПРИВЕТ ЁЖ")));
    EXPECT_EQ(foldedKey(u("ўїєґі")), foldedKey(u("ЎЇЄҐІ"))); // the other Cyrillic pairs
    EXPECT_EQ(foldedKey(u("µ")), "\xB5");                    // no capital in the code page
    // "10" before "9"; digits before Latin before Cyrillic; ё (Ё, 0xA8) before а (0xC0).
    EXPECT_EQ(sorted({row("9"), row("10"), row("b"), row("я"), row("A"), row("ё"), row("а")},
                     Model::TextColumn, Up),
              QStringList({"10", "9", "A", "b", "ё", "а", "я"}));
    EXPECT_EQ(
        sorted({row("x", "Борис"), row("x", "анна"), row("x", "Анна")}, Model::FromColumn, Down),
        QStringList({u("Борис"), u("анна"), u("Анна")})); // equal texts keep their order
    // Texts alike in their first eight characters are told apart by the rest.
    EXPECT_EQ(sorted({row("Привет, друг"), row("привет, брат"), row("ПРИВЕТ, "), row("Привет,")},
                     Model::TextColumn, Up),
              QStringList({u("Привет,"), u("ПРИВЕТ, "), u("привет, брат"), u("Привет, друг")}));
}

TEST(ColumnComparisons, DateKeyIsTheDayFromFixedPositions) {
    EXPECT_EQ(dateKey(u("31/12/2004,23:59:59")), "2004/12/31");
    EXPECT_EQ(dateKey(u("----------------")), "----------"); // all alike
    EXPECT_EQ(dateKey(u("1/2")), "1/");                      // positions past the end give nothing
    EXPECT_EQ(dateKey(u("")), "");
    // The day decides across months and years; two times of one day keep their order.
    EXPECT_EQ(sorted({row("a", "", "05/01/2005,09:00:00"), row("b", "", "31/12/2004,10:00:00"),
                      row("c", "", "05/01/2005,08:00:00"), row("d", "", "01/02/2005,00:00:00")},
                     Model::DateColumn, Up),
              QStringList({"31/12/2004,10:00:00", "05/01/2005,09:00:00", "05/01/2005,08:00:00",
                           "01/02/2005,00:00:00"}));
    EXPECT_EQ(
        column(inOrder({row("a", "", "05/01/2005,09:00:00"), row("b", "", "05/01/2005,08:00:00"),
                        row("c", "", "04/01/2005,08:00:00")},
                       Model::DateColumn, Down),
               Model::TextColumn),
        QStringList({"a", "b", "c"}));
}

TEST(ColumnComparisons, SizesAndIndexesCompareAsNumbers) {
    EXPECT_EQ(sorted({row("1234567890"), row("123456789"), row(std::string(100, 'x').c_str())},
                     Model::SizeColumn, Up),
              QStringList({"9", "10", "100"}));
    EXPECT_EQ(sorted({row("1234567890"), row("123456789"), row(std::string(100, 'x').c_str())},
                     Model::SizeColumn, Down),
              QStringList({"100", "10", "9"}));
    // Sent and unsent indexes keep the phone's leading blank; negative ones sort first.
    EXPECT_EQ(sorted({row("a", "", "", " 10"), row("b", "", "", " 9"), row("c", "", "", "-3"),
                      row("d", "", "", "2147483647")},
                     Model::IndexColumn, Up),
              QStringList({"-3", " 9", " 10", "2147483647"}));
}

TEST(ColumnComparisons, AStandardPhonesPlacesSortByStorageThenIndexAfterPlainIndexes) {
    EXPECT_EQ(sorted({row("a", "", "", "SM10"), row("b", "", "", "ME12,ME13"),
                      row("c", "", "", "SM9,SM1"), row("d", "", "", "7"), row("e", "", "", "ME2")},
                     Model::IndexColumn, Up),
              QStringList({"7", "ME2", "ME12,ME13", "SM9,SM1", "SM10"}));
}

TEST(ColumnComparisons, AnIndexThatIsNoNumberGivesNoOrder) {
    for (const char* bad : {"7a", "", " ", "2147483648", "9 "}) {
        const SortOrder order =
            sortOrder({row("a", "", "", "3"), row("b", "", "", bad), row("c", "", "", "1")},
                      Model::IndexColumn, Up);
        ASSERT_TRUE(order.failure) << bad;
        EXPECT_EQ(order.failure->text(),
                  QStringLiteral("'%1' is not a valid integer value").arg(u(bad)));
        EXPECT_TRUE(order.rows.empty());
    }
}
