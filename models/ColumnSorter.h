#pragma once
// The rules of sorting the message list by a clicked column and again by the
// remembered column whenever it is refilled. One direction serves all
// columns; it starts ascending and only a header click flips it. A refill
// sorts the way the last click did, so the list looks the same after a
// deletion, an import or a read as before it; the stored mark (0 ascending,
// 1 descending) carries that direction over a restart. The sorting itself
// (sortEntries) runs elsewhere, off the window's thread; this decides what to
// sort, which marks the headers show, and what is remembered.
#include "models/ColumnSort.h"

#include <optional>

namespace qb {

class MessageListModel;
class SettingsStore;

class ColumnSorter {
  public:
    ColumnSorter(MessageListModel& list, SettingsStore& store);

    // The direction the next header click sorts in.
    SortDirection direction() const { return m_direction; }
    static bool isColumn(int column);

    // A header click's sort has been made (or there were no rows to sort):
    // the column shows its mark alone, the direction flips, and the column is
    // remembered with the mark it shows.
    void clicked(int column, bool sorted);

    struct Remembered {
        int column = 0;
        int mark = 0;
        SortDirection direction = SortDirection::Ascending;
    };
    // The remembered column with its stored mark and the sort that mark
    // names; none when no column was ever clicked: a refill then keeps the
    // fill's order and no mark.
    std::optional<Remembered> remembered() const;
    // After a refill: the headers show the stored mark alone.
    void restoreMarks(const Remembered& sort);
    // The refill's sort has been made (or there were no rows): the column
    // shows the mark of its direction, and the next click turns the order.
    void restored(const Remembered& sort, bool sorted);

  private:
    void markAlone(int column, SortDirection direction);

    MessageListModel& m_list;
    SettingsStore& m_store;
    SortDirection m_direction = SortDirection::Ascending;
};

} // namespace qb
