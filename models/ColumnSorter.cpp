#include "models/ColumnSorter.h"

#include "models/MessageListModel.h"
#include "models/SettingsStore.h"

namespace qb {
namespace {

constexpr int DefaultSortValue = 1;

bool isMark(int mark) {
    return mark == MessageListModel::NoMark || mark == MessageListModel::AscendingMark ||
           mark == MessageListModel::DescendingMark;
}

SortDirection opposite(SortDirection direction) {
    return direction == SortDirection::Ascending ? SortDirection::Descending
                                                 : SortDirection::Ascending;
}

} // namespace

ColumnSorter::ColumnSorter(MessageListModel& list, SettingsStore& store)
    : m_list(list), m_store(store) {}

bool ColumnSorter::isColumn(int column) {
    return column >= 0 && column < MessageListModel::SortableColumnCount;
}

void ColumnSorter::markAlone(int column, SortDirection direction) {
    for (int other = 0; other < MessageListModel::ColumnCount; ++other)
        if (other != column)
            m_list.setSortMark(other, MessageListModel::NoMark);
    m_list.setSortMark(column, direction == SortDirection::Ascending
                                   ? MessageListModel::AscendingMark
                                   : MessageListModel::DescendingMark);
}

void ColumnSorter::clicked(int column, bool sorted) {
    if (sorted)
        markAlone(column, m_direction);
    m_direction = opposite(m_direction);
    // An unwritable store only loses the memory of the column; the sort stands.
    m_store.setNumber(Setting::SortMark, m_list.sortMark(column));
    m_store.setNumber(Setting::SortColumn, column);
}

std::optional<ColumnSorter::Remembered> ColumnSorter::remembered() const {
    if (!m_store.contains(Setting::SortMark))
        return std::nullopt;
    // The program writes nothing else; a hand-edited value out of range counts as absent.
    const int mark = m_store.number(Setting::SortMark, DefaultSortValue);
    if (!isMark(mark))
        return std::nullopt;
    int column = m_store.number(Setting::SortColumn, DefaultSortValue);
    if (!isColumn(column))
        column = DefaultSortValue;
    // A click on an empty list leaves no mark: its column is sorted ascending.
    return Remembered{column, mark,
                      mark == MessageListModel::DescendingMark ? SortDirection::Descending
                                                               : SortDirection::Ascending};
}

void ColumnSorter::restoreMarks(const Remembered& sort) {
    for (int each = 0; each < MessageListModel::ColumnCount; ++each)
        m_list.setSortMark(each, MessageListModel::NoMark);
    m_list.setSortMark(sort.column, sort.mark);
}

void ColumnSorter::restored(const Remembered& sort, bool sorted) {
    if (sorted)
        markAlone(sort.column, sort.direction);
    // The next click turns the order the list shows.
    m_direction = opposite(sort.direction);
}

} // namespace qb
