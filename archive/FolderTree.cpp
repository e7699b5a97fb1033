#include "archive/FolderTree.h"

namespace qb {

bool isPhoneFolder(TreeNode node) {
    return node == TreeNode::PhoneInbox || node == TreeNode::PhoneOutbox ||
           node == TreeNode::PhoneDraft;
}

bool isArchiveFolder(TreeNode node) {
    return node == TreeNode::ArchiveInbox || node == TreeNode::ArchiveOutbox ||
           node == TreeNode::ArchiveDraft;
}

bool isFolder(TreeNode node) {
    return isPhoneFolder(node) || isArchiveFolder(node);
}

FolderKind folderKindOfNode(TreeNode node) {
    switch (node) {
    case TreeNode::PhoneOutbox:
    case TreeNode::ArchiveOutbox:
        return FolderKind::Outbox;
    case TreeNode::PhoneDraft:
    case TreeNode::ArchiveDraft:
        return FolderKind::Draft;
    default:
        return FolderKind::Inbox;
    }
}

TreeNode phoneFolderNode(FolderKind kind) {
    static constexpr TreeNode inbox = TreeNode::PhoneInbox, outbox = TreeNode::PhoneOutbox,
                              draft = TreeNode::PhoneDraft;
    return byFolderKind(kind, inbox, outbox, draft);
}

TreeNode archiveFolderNode(FolderKind kind) {
    static constexpr TreeNode inbox = TreeNode::ArchiveInbox, outbox = TreeNode::ArchiveOutbox,
                              draft = TreeNode::ArchiveDraft;
    return byFolderKind(kind, inbox, outbox, draft);
}

} // namespace qb
