#include "archive/ArchiveTypes.h"

#include "core/Failure.h"

namespace qb {

std::optional<int> ReadFolder::count() const {
    const auto mark = parseWholeNumber(countMark);
    if (!mark)
        return std::nullopt;
    return *mark + 1;
}

ReadEntry& ReadFolder::at(int k) {
    if (static_cast<std::size_t>(k) > entries.size())
        entries.resize(static_cast<std::size_t>(k));
    return entries[static_cast<std::size_t>(k - 1)];
}

const ReadEntry* ReadFolder::find(int k) const {
    if (k < 1 || static_cast<std::size_t>(k) > entries.size())
        return nullptr;
    return &entries[static_cast<std::size_t>(k - 1)];
}

ReadFolder& ReadResult::folder(FolderKind kind) {
    return byFolderKind(kind, inbox, outbox, draft);
}

const ReadFolder& ReadResult::folder(FolderKind kind) const {
    return const_cast<ReadResult*>(this)->folder(kind);
}

} // namespace qb
