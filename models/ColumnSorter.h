#pragma once
// Sorting the message list by a clicked column, and sorting it again by the
// remembered column whenever it is refilled. One direction serves all
// columns; it starts ascending and only a header click flips it. A refill
// sorts the way the last click did, so the list looks the same after a
// deletion, an import or a read as before it; the stored mark (0 ascending,
// 1 descending) carries that direction over a restart.
#include "core/Failure.h"
#include "models/ColumnSort.h"

namespace qb {

class MessageListModel;
class SettingsStore;

class ColumnSorter {
  public:
    ColumnSorter(MessageListModel& list, SettingsStore& store);

    // The direction the next header click sorts in.
    SortDirection direction() const { return m_direction; }
    // A header click. A cell that is no number stops it before anything is
    // flipped or stored.
    MaybeFailure sortByColumn(int column);
    // After a refill: sorts by the remembered column, if a column was ever
    // clicked, in the direction its mark names; nothing is flipped or stored.
    MaybeFailure restoreColumnSort();

  private:
    MaybeFailure sortAndMark(int column, SortDirection direction);

    MessageListModel& m_list;
    SettingsStore& m_store;
    SortDirection m_direction = SortDirection::Ascending;
};

} // namespace qb
