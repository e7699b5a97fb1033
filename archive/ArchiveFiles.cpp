#include "archive/ArchiveFiles.h"

#include "core/FileStore.h"

namespace qb {

QString folderFileName(FolderKind kind) {
    switch (kind) {
    case FolderKind::Inbox:
        return QStringLiteral("Inbox.msg");
    case FolderKind::Outbox:
        return QStringLiteral("Outbox.msg");
    case FolderKind::Draft:
        break;
    }
    return QStringLiteral("Draft.msg");
}

MaybeFailure reloadFolder(const QString& workDir, FolderKind kind, ArchiveFolder& folder) {
    return folder.reload(resolveInDir(workDir, folderFileName(kind)));
}

MaybeFailure reloadArchive(const QString& workDir, Archive& archive) {
    for (const FolderKind kind : ArchiveFolderKinds) {
        if (MaybeFailure failure = reloadFolder(workDir, kind, archive.folder(kind)))
            return failure;
    }
    return std::nullopt;
}

} // namespace qb
