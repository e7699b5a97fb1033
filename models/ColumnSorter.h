#pragma once
// Sorting the message list by a clicked column, and sorting it again by the
// remembered column whenever it is refilled. One direction serves all
// columns; it starts ascending and flips at every sort, so each refill
// reverses the order of the sort before it. The direction is never stored.
#include "core/Failure.h"
#include "models/ColumnSort.h"

namespace qb {

class MessageListModel;
class SettingsStore;

class ColumnSorter {
  public:
    ColumnSorter(MessageListModel& list, SettingsStore& store);

    SortDirection direction() const { return m_direction; }
    // A header click. A cell that is no number stops it before anything is
    // flipped or stored.
    MaybeFailure sortByColumn(int column);
    // After a refill: sorts by the remembered column, if a column was ever clicked.
    MaybeFailure restoreColumnSort();

  private:
    MessageListModel& m_list;
    SettingsStore& m_store;
    SortDirection m_direction = SortDirection::Ascending;
};

} // namespace qb
