#include "models/EntrySort.h"

namespace qb {

SortOrder sortEntries(const FolderRows& rows, const std::vector<MessageListModel::Entry>& entries,
                      int column, SortDirection direction) {
    const std::unique_ptr<MessageRowBuilder> builder = rows.builder();
    std::vector<MessageRow> cells;
    cells.reserve(entries.size());
    for (const MessageListModel::Entry& entry : entries)
        cells.push_back(rows.row(*builder, entry.position));
    return sortOrder(cells, column, direction);
}

} // namespace qb
