#include "archive/ArchiveTypes.h"

namespace qb {

ReadFolder& ReadResult::folder(FolderKind kind) {
    return byFolderKind(kind, inbox, outbox, draft);
}

const ReadFolder& ReadResult::folder(FolderKind kind) const {
    return const_cast<ReadResult*>(this)->folder(kind);
}

bool ReadResult::holdsMessages() const {
    return !inbox.empty() || !outbox.empty() || !draft.empty();
}

} // namespace qb
