#include "archive/FolderTree.h"

#include "core/Cp1251.h"

namespace qb {
namespace {

std::string fromUtf8(const char* text)
{
    return cp1251::fromUnicode(QString::fromUtf8(text));
}

const std::string& nameOf(FolderKind kind)
{
    static const std::string inbox = fromUtf8("Входящие");
    static const std::string outbox = fromUtf8("Исходящие");
    static const std::string draft = fromUtf8("Черновые");
    return byFolderKind(kind, inbox, outbox, draft);
}

} // namespace

bool isPhoneFolder(int node)
{
    return node >= PhoneInbox && node <= PhoneDraft;
}

bool isArchiveFolder(int node)
{
    return node >= ArchiveInbox && node <= ArchiveDraft;
}

FolderKind folderKindOfNode(int node)
{
    switch (node) {
    case PhoneOutbox:
    case ArchiveOutbox:
        return FolderKind::Outbox;
    case PhoneDraft:
    case ArchiveDraft:
        return FolderKind::Draft;
    default:
        return FolderKind::Inbox;
    }
}

std::string folderName(FolderKind kind)
{
    return nameOf(kind);
}

std::string folderCaption(FolderKind kind, int count)
{
    if (count >= 1)
        return nameOf(kind) + " (" + std::to_string(count) + ")";
    return nameOf(kind) + " ";
}

} // namespace qb
