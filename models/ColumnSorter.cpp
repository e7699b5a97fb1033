#include "models/ColumnSorter.h"

#include "models/MessageListModel.h"
#include "models/SettingsStore.h"

namespace qb {
namespace {

constexpr int DefaultSortValue = 1;

bool isColumn(int column) {
    return column >= 0 && column < MessageListModel::ColumnCount;
}

bool isMark(int mark) {
    return mark == -1 || mark == MessageListModel::AscendingMark ||
           mark == MessageListModel::DescendingMark;
}

SortDirection opposite(SortDirection direction) {
    return direction == SortDirection::Ascending ? SortDirection::Descending
                                                 : SortDirection::Ascending;
}

} // namespace

ColumnSorter::ColumnSorter(MessageListModel& list, SettingsStore& store)
    : m_list(list), m_store(store) {}

MaybeFailure ColumnSorter::sortAndMark(int column, SortDirection direction) {
    if (m_list.rowCount() == 0)
        return std::nullopt;
    for (int other = 0; other < MessageListModel::ColumnCount; ++other)
        if (other != column)
            m_list.setSortMark(other, -1);
    if (MaybeFailure failure = m_list.sortRows(column, direction))
        return failure;
    m_list.setSortMark(column, direction == SortDirection::Ascending
                                   ? MessageListModel::AscendingMark
                                   : MessageListModel::DescendingMark);
    return std::nullopt;
}

MaybeFailure ColumnSorter::sortByColumn(int column) {
    if (!isColumn(column))
        return std::nullopt;
    if (MaybeFailure failure = sortAndMark(column, m_direction))
        return failure;
    m_direction = opposite(m_direction);
    // An unwritable store only loses the memory of the column; the sort stands.
    m_store.setNumber(Setting::SortMark, m_list.sortMark(column));
    m_store.setNumber(Setting::SortColumn, column);
    return std::nullopt;
}

MaybeFailure ColumnSorter::restoreColumnSort() {
    if (!m_store.contains(Setting::SortMark))
        return std::nullopt;
    // The program writes nothing else; a hand-edited value out of range counts as absent.
    const int mark = m_store.number(Setting::SortMark, DefaultSortValue);
    if (!isMark(mark))
        return std::nullopt;
    int column = m_store.number(Setting::SortColumn, DefaultSortValue);
    if (!isColumn(column))
        column = DefaultSortValue;
    for (int each = 0; each < MessageListModel::ColumnCount; ++each)
        m_list.setSortMark(each, -1);
    m_list.setSortMark(column, mark);
    // A click on an empty list leaves no mark: its column is sorted ascending.
    const SortDirection shown = mark == MessageListModel::DescendingMark ? SortDirection::Descending
                                                                         : SortDirection::Ascending;
    if (MaybeFailure failure = sortAndMark(column, shown))
        return failure;
    // The next click turns the order the list shows.
    m_direction = opposite(shown);
    return std::nullopt;
}

} // namespace qb
