#include "archive/FolderTree.h"

#include "core/Cp1251.h"

namespace qb {
namespace {

std::string fromUtf8(const char* text) {
    return cp1251::fromUnicode(QString::fromUtf8(text));
}

const std::string& nameOf(FolderKind kind) {
    static const std::string inbox = fromUtf8("Входящие");
    static const std::string outbox = fromUtf8("Исходящие");
    static const std::string draft = fromUtf8("Черновые");
    return byFolderKind(kind, inbox, outbox, draft);
}

} // namespace

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

std::string folderName(FolderKind kind) {
    return nameOf(kind);
}

std::string folderCaption(FolderKind kind, int count) {
    if (count >= 1)
        return nameOf(kind) + " (" + std::to_string(count) + ")";
    return nameOf(kind) + " ";
}

} // namespace qb
