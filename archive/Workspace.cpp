#include "archive/Workspace.h"

#include "archive/FolderTree.h"

namespace qb {

std::string Workspace::archiveCaption(FolderKind kind) const {
    return folderCaption(kind, archive.folder(kind).count());
}

std::string Workspace::phoneCaption(FolderKind kind) const {
    // The read writes every count mark, so a mark that is no number means no read yet.
    return folderCaption(kind, readResult.folder(kind).count().value_or(0));
}

} // namespace qb
