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

} // namespace

ColumnSorter::ColumnSorter(MessageListModel& list, SettingsStore& store)
    : m_list(list), m_store(store) {}

MaybeFailure ColumnSorter::sortByColumn(int column) {
    if (!isColumn(column))
        return std::nullopt;
    if (m_list.rowCount() > 0) {
        for (int other = 0; other < MessageListModel::ColumnCount; ++other)
            if (other != column)
                m_list.setSortMark(other, -1);
        if (MaybeFailure failure = m_list.sortRows(column, m_direction))
            return failure;
        m_list.setSortMark(column, m_direction == SortDirection::Ascending
                                       ? MessageListModel::AscendingMark
                                       : MessageListModel::DescendingMark);
    }
    m_direction = m_direction == SortDirection::Ascending ? SortDirection::Descending
                                                          : SortDirection::Ascending;
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
    return sortByColumn(column);
}

} // namespace qb
