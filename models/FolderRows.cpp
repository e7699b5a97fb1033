#include "models/FolderRows.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qb {
namespace {

// The fields a row is built from (MessageRowBuilder): an archive record's
// correspondent is derived when the folder is read, so its header and status
// stay behind; a phone entry's correspondent is derived from its header and
// status, and its UCS2 digits serve only the merge. Each field left behind is
// a cache miss less per record for the window's thread.
constexpr std::array<std::string ArchiveRecord::*, 4> ArchiveFields = {
    &ArchiveRecord::text, &ArchiveRecord::index, &ArchiveRecord::date,
    &ArchiveRecord::correspondent};
constexpr std::array<std::string ReadEntry::*, 5> PhoneFields = {
    &ReadEntry::header, &ReadEntry::text, &ReadEntry::index, &ReadEntry::status, &ReadEntry::date};

} // namespace

template <class Record, std::size_t N>
void FolderRows::pack(const std::vector<Record>& records,
                      const std::array<std::string Record::*, N>& fields) {
    std::size_t bytes = 0;
    for (const Record& record : records)
        for (const auto field : fields)
            bytes += (record.*field).size();
    // Written straight through a pointer: appending field by field checked
    // the room at every field, a third of the copy. No huge-page advice: a
    // fault that waits for the kernel to compact memory would stall the
    // window's thread, and a predictable 10 ms is worth more here.
    m_bytes = std::make_unique_for_overwrite<char[]>(bytes);
    m_ends.resize(records.size() * N);
    char* next = m_bytes.get();
    std::uint32_t* end = m_ends.data();
    for (const Record& record : records) {
        for (const auto field : fields) {
            const std::string& text = record.*field;
            std::memcpy(next, text.data(), text.size());
            next += text.size();
            *end++ = static_cast<std::uint32_t>(next - m_bytes.get());
        }
    }
}

template <class Record, std::size_t N>
const Record& FolderRows::unpack(int position,
                                 const std::array<std::string Record::*, N>& fields) const {
    thread_local Record record;
    std::size_t at = static_cast<std::size_t>(position) * N;
    std::uint32_t start = at == 0 ? 0 : m_ends[at - 1];
    for (const auto field : fields) {
        record.*field = std::string_view(m_bytes.get() + start, m_ends[at] - start);
        start = m_ends[at++];
    }
    return record;
}

std::shared_ptr<const FolderRows> FolderRows::none(std::optional<TreeNode> node) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    return rows;
}

std::shared_ptr<const FolderRows> FolderRows::ofArchive(TreeNode node, const ArchiveFolder& folder,
                                                        const Phonebook& phonebook) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    rows->m_count = static_cast<int>(folder.records.size());
    rows->pack(folder.records, ArchiveFields);
    rows->takePhonebook(phonebook);
    return rows;
}

std::shared_ptr<const FolderRows> FolderRows::ofPhone(TreeNode node, const ReadFolder& folder,
                                                      const Phonebook& phonebook) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    rows->m_phone = true;
    rows->m_count = std::max(folder.count().value_or(0), 0);
    std::vector<ReadEntry> entries;
    entries.reserve(static_cast<std::size_t>(rows->m_count));
    static const ReadEntry none;
    for (int k = 1; k <= rows->m_count; ++k) {
        const ReadEntry* entry = folder.find(k);
        entries.push_back(entry ? *entry : none);
    }
    rows->pack(entries, PhoneFields);
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
    return m_phone ? builder.fromPhone(unpack(position, PhoneFields), position + 1)
                   : builder.fromArchive(unpack(position, ArchiveFields), position + 1);
}

} // namespace qb
