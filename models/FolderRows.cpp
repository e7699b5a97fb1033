#include "models/FolderRows.h"

#include <algorithm>

namespace qb {

std::shared_ptr<const FolderRows> FolderRows::none(std::optional<TreeNode> node) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    return rows;
}

std::shared_ptr<const FolderRows> FolderRows::ofArchive(TreeNode node, const ArchiveFolder& folder,
                                                        const Phonebook& phonebook) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    rows->m_records = folder.records;
    rows->m_count = static_cast<int>(rows->m_records.size());
    rows->takePhonebook(phonebook);
    return rows;
}

std::shared_ptr<const FolderRows> FolderRows::ofPhone(TreeNode node, const ReadFolder& folder,
                                                      const Phonebook& phonebook) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    rows->m_phone = true;
    rows->m_count = std::max(folder.count().value_or(0), 0);
    rows->m_entries.reserve(static_cast<std::size_t>(rows->m_count));
    static const ReadEntry none;
    for (int k = 1; k <= rows->m_count; ++k) {
        const ReadEntry* entry = folder.find(k);
        rows->m_entries.push_back(entry ? *entry : none);
    }
    rows->takePhonebook(phonebook);
    return rows;
}

void FolderRows::takePhonebook(const Phonebook& phonebook) {
    m_phonebook = phonebook;
    // An empty folder has no first row to stop at.
    if (m_count > 0)
        m_namesFailure = NameIndex(phonebook).failure();
}

std::unique_ptr<MessageRowBuilder> FolderRows::builder() const {
    const FolderKind kind =
        m_node && isFolder(*m_node) ? folderKindOfNode(*m_node) : FolderKind::Inbox;
    return std::make_unique<MessageRowBuilder>(kind, m_phonebook);
}

MessageRow FolderRows::row(MessageRowBuilder& builder, int position) const {
    const auto at = static_cast<std::size_t>(position);
    return m_phone ? builder.fromPhone(m_entries[at], position + 1)
                   : builder.fromArchive(m_records[at], position + 1);
}

} // namespace qb
