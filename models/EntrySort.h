#pragma once
// Sorting the listed rows by a column without the window: the cells of every
// row are built from the folder's messages, as the list shows them, and put
// in the column's order. Reads only what it is given, so it runs on a worker
// thread while the window goes on.
#include "models/ColumnSort.h"
#include "models/FolderRows.h"
#include "models/MessageListModel.h"

#include <memory>
#include <vector>

namespace qb {

// The cells of every row of a folder, by position: built once, kept for the
// next header click on the same folder.
using SortCells = std::vector<MessageRow>;
std::shared_ptr<const SortCells> sortCells(const FolderRows& rows);

// The rows `entries` (in the list's present order) in the order of `column`:
// the result's rows are positions within `entries`.
SortOrder sortEntries(const SortCells& cells, const std::vector<MessageListModel::Entry>& entries,
                      int column, SortDirection direction);

} // namespace qb
