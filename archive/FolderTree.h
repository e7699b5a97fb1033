#pragma once
// Folder captions and the phonebook name lookup behind the folder tree and the list.
#include "archive/ArchiveTypes.h"
#include "core/Failure.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qb {

// The eight nodes of the folder tree, top to bottom: each group is followed by
// its three folders. The tree never adds, removes or reorders a node.
enum class TreeNode {
    Phone,
    PhoneInbox,
    PhoneOutbox,
    PhoneDraft,
    Archive,
    ArchiveInbox,
    ArchiveOutbox,
    ArchiveDraft,
};
constexpr int TreeNodeCount = 8;
bool isPhoneFolder(TreeNode node);
bool isArchiveFolder(TreeNode node);
bool isFolder(TreeNode node);
FolderKind folderKindOfNode(TreeNode node); // for the six folders
// The folder node of `kind` in the phone's or the archive's group.
TreeNode phoneFolderNode(FolderKind kind);
TreeNode archiveFolderNode(FolderKind kind);

// The phonebook indexed for lookupName: same result as going through every
// entry for every row (the last matching entry wins), without the linear scan.
class NameIndex {
  public:
    explicit NameIndex(const Phonebook& phonebook);
    // Set when the phonebook's count line is neither empty nor a whole number:
    // such a phonebook cannot be used for names.
    const MaybeFailure& failure() const { return m_failure; }
    std::optional<std::string> lookupName(std::string_view number, FolderKind kind) const;

  private:
    // Keys compared with heterogeneous lookup, so a lookup allocates nothing.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    // Text -> the highest entry position (from 0) whose number gives that text.
    using PositionMap = std::unordered_map<std::string, int, TextHash, std::equal_to<>>;
    static int find(const PositionMap& map, std::string_view key);

    std::vector<std::string> m_names;
    PositionMap m_byNumber;      // N
    PositionMap m_byNumberFrom3; // N without its first two characters
    PositionMap m_byNumberFrom2; // N without its first character
    MaybeFailure m_failure;
};

// The "От" cell: the number alone when no name (or the name "Без имени"),
// else name + " (" + number + ")".
std::string displayCorrespondent(const NameIndex& names, std::string_view number, FolderKind kind);

} // namespace qb
