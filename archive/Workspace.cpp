#include "archive/Workspace.h"

namespace qb {

int Workspace::phoneCount(FolderKind kind) const {
    // The read writes every count mark, so a mark that is no number means no read yet.
    return readResult.folder(kind).count().value_or(0);
}

} // namespace qb
