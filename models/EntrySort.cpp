#include "models/EntrySort.h"

namespace qb {

std::shared_ptr<const SortCells> sortCells(const FolderRows& rows) {
    const std::unique_ptr<MessageRowBuilder> builder = rows.builder();
    auto cells = std::make_shared<SortCells>();
    cells->reserve(static_cast<std::size_t>(rows.count()));
    for (int position = 0; position < rows.count(); ++position)
        cells->push_back(rows.row(*builder, position));
    return cells;
}

SortOrder sortEntries(const SortCells& cells, const std::vector<MessageListModel::Entry>& entries,
                      int column, SortDirection direction) {
    std::vector<MessageRow> listed;
    listed.reserve(entries.size());
    for (const MessageListModel::Entry& entry : entries)
        listed.push_back(cells[static_cast<std::size_t>(entry.position)]);
    return sortOrder(listed, column, direction);
}

} // namespace qb
