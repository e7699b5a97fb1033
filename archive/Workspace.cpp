#include "archive/Workspace.h"

namespace qb {

int Workspace::phoneCount(FolderKind kind) const {
    return static_cast<int>(readResult.folder(kind).size());
}

} // namespace qb
