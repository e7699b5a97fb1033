// Sorting the message list by its columns: the comparisons of each column,
// the one direction that flips at every sort, the remembered column, and the
// record numbers that must stay with their rows.
#include "models/ColumnSort.h"
#include "models/ColumnSorter.h"
#include "models/MessageListModel.h"
#include "models/SettingsStore.h"

#include <QTemporaryDir>
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

// A list of rows numbered 1, 2, ... in the order given, as a fill adds them.
void fill(Model& model, std::vector<MessageRow> rows) {
    model.clear();
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k].record = static_cast<int>(k) + 1;
    model.append(std::move(rows));
}

QStringList column(const Model& model, int c) {
    QStringList cells;
    for (int r = 0; r < model.rowCount(); ++r)
        cells << model.data(model.index(r, c), Qt::DisplayRole).toString();
    return cells;
}

std::vector<int> records(const Model& model) {
    std::vector<int> k;
    for (int r = 0; r < model.rowCount(); ++r)
        k.push_back(model.row(r).record);
    return k;
}

QStringList sorted(std::vector<MessageRow> rows, int c, SortDirection direction) {
    Model model;
    fill(model, std::move(rows));
    EXPECT_FALSE(model.sortRows(c, direction));
    return column(model, c);
}

constexpr auto Up = SortDirection::Ascending;
constexpr auto Down = SortDirection::Descending;

// Every sort test gets a settings file of its own.
class SortState : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    Model model;
    ColumnSorter sorter{model, store};

    int stored(const SettingKey& ident) { return store.number(ident, 99); }
    std::vector<int> marks() {
        std::vector<int> m;
        for (int c = 0; c < Model::ColumnCount; ++c)
            m.push_back(model.sortMark(c));
        return m;
    }
};

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
    Model model;
    fill(model, {row("a", "", "05/01/2005,09:00:00"), row("b", "", "05/01/2005,08:00:00"),
                 row("c", "", "04/01/2005,08:00:00")});
    EXPECT_FALSE(model.sortRows(Model::DateColumn, Down));
    EXPECT_EQ(column(model, Model::TextColumn), QStringList({"a", "b", "c"}));
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

TEST(ColumnComparisons, AnIndexThatIsNoNumberLeavesTheRowsAlone) {
    for (const char* bad : {"7a", "", " ", "2147483648", "9 "}) {
        Model model;
        fill(model, {row("a", "", "", "3"), row("b", "", "", bad), row("c", "", "", "1")});
        const qb::MaybeFailure failure = model.sortRows(Model::IndexColumn, Up);
        ASSERT_TRUE(failure) << bad;
        EXPECT_EQ(failure->text(), QStringLiteral("'%1' is not a valid integer value").arg(u(bad)));
        EXPECT_EQ(column(model, Model::TextColumn), QStringList({"a", "b", "c"}));
    }
}

TEST_F(SortState, AClickOnAnEmptyListOnlyFlipsAndRemembers) {
    EXPECT_FALSE(sorter.sortByColumn(Model::DateColumn));
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(sorter.direction(), SortDirection::Descending);
    EXPECT_EQ(stored(Setting::SortMark), -1); // the mark it had before
    EXPECT_EQ(stored(Setting::SortColumn), 2);
}

TEST_F(SortState, EveryRefillKeepsTheColumnAndDirectionOfTheLastClick) {
    fill(model, {row("b"), row("a")});
    EXPECT_FALSE(sorter.restoreColumnSort()); // nothing clicked yet: the fill's order stays
    EXPECT_EQ(column(model, Model::TextColumn), QStringList({"b", "a"}));
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, -1, -1}));
    EXPECT_FALSE(store.contains(Setting::SortMark));

    EXPECT_FALSE(sorter.sortByColumn(Model::TextColumn)); // ascending
    EXPECT_FALSE(sorter.sortByColumn(Model::TextColumn)); // descending
    for (int refill = 0; refill < 3; ++refill) {
        fill(model, {row("x"), row("z"), row("y")});
        EXPECT_FALSE(sorter.restoreColumnSort());
        EXPECT_EQ(column(model, Model::TextColumn), QStringList({"z", "y", "x"}));
        EXPECT_EQ(model.sortMark(Model::TextColumn), 1);
        EXPECT_EQ(sorter.direction(), SortDirection::Ascending);
    }
    EXPECT_FALSE(sorter.sortByColumn(Model::TextColumn)); // only a click turns it
    EXPECT_EQ(column(model, Model::TextColumn), QStringList({"x", "y", "z"}));
}

TEST_F(SortState, RestartSortsByTheStoredColumnTheWayItsMarkPoints) {
    // Values edited by hand as text are read as numbers.
    store.setText(Setting::SortMark, QStringLiteral("1"));
    store.setText(Setting::SortColumn, QStringLiteral(" 3"));
    fill(model, {row("ccc"), row("a"), row("bb")});
    EXPECT_FALSE(sorter.restoreColumnSort());
    EXPECT_EQ(column(model, Model::SizeColumn), QStringList({"3", "2", "1"}));
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, 1, -1}));
    EXPECT_EQ(sorter.direction(), SortDirection::Ascending); // the next click turns it

    // An empty list keeps the stored mark on the stored column.
    model.clear();
    EXPECT_FALSE(sorter.restoreColumnSort());
    EXPECT_EQ(marks(), (std::vector<int>{-1, -1, -1, 1, -1}));
    EXPECT_EQ(stored(Setting::SortMark), 1);

    // A click on an empty list stored no mark: its column is sorted ascending.
    store.setNumber(Setting::SortMark, -1);
    fill(model, {row("ccc"), row("a"), row("bb")});
    EXPECT_FALSE(sorter.restoreColumnSort());
    EXPECT_EQ(column(model, Model::SizeColumn), QStringList({"1", "2", "3"}));
    EXPECT_EQ(model.sortMark(Model::SizeColumn), 0);
}

TEST_F(SortState, StoredValuesOutOfRange) {
    fill(model, {row("b"), row("a")});
    store.setNumber(Setting::SortMark, 2); // counts as never clicked
    store.setNumber(Setting::SortColumn, 0);
    EXPECT_FALSE(sorter.restoreColumnSort());
    EXPECT_EQ(column(model, Model::TextColumn), QStringList({"b", "a"}));
    EXPECT_EQ(sorter.direction(), SortDirection::Ascending);

    store.setNumber(Setting::SortMark, 0);
    store.setNumber(Setting::SortColumn, 7); // the column's default, 1
    EXPECT_FALSE(sorter.restoreColumnSort());
    EXPECT_EQ(model.sortMark(Model::FromColumn), 0);
    EXPECT_EQ(stored(Setting::SortColumn), 7); // a refill stores nothing
}

TEST_F(SortState, RowsKeepTheirRecordNumbersSoADeletionAfterASortHitsTheChosenRows) {
    fill(model, {row("c"), row("a"), row("d"), row("b")}); // records 1 2 3 4
    EXPECT_FALSE(sorter.sortByColumn(Model::TextColumn));
    EXPECT_EQ(records(model), (std::vector<int>{2, 4, 1, 3}));
    // The user deletes the top two rows ("a" and "b"): records 2 and 4 go.
    model.removeRecords({model.row(0).record, model.row(1).record});
    EXPECT_EQ(column(model, Model::TextColumn), QStringList({"c", "d"}));
    EXPECT_EQ(records(model), (std::vector<int>{1, 2}));
}
