#include "models/FolderCaptions.h"

#include <QCoreApplication>

namespace qb {

namespace {

struct FolderCaptions {
    Q_DECLARE_TR_FUNCTIONS(FolderCaptions)
};

} // namespace

QString nodeName(TreeNode node) {
    switch (node) {
    case TreeNode::Phone:
        return FolderCaptions::tr("Телефон");
    case TreeNode::Archive:
        return FolderCaptions::tr("Архив");
    default:
        break;
    }
    switch (folderKindOfNode(node)) {
    case FolderKind::Inbox:
        return FolderCaptions::tr("Входящие");
    case FolderKind::Outbox:
        return FolderCaptions::tr("Исходящие");
    case FolderKind::Draft:
        return FolderCaptions::tr("Черновые");
    }
    return {};
}

QString folderCaption(FolderKind kind, int count) {
    const QString name = nodeName(archiveFolderNode(kind));
    if (count >= 1)
        return QStringLiteral("%1 (%2)").arg(name).arg(count);
    return name + QLatin1Char(' ');
}

} // namespace qb
