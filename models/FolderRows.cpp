#include "models/FolderRows.h"

#include "archive/RecordLines.h"
#include "core/ArchiveText.h"

#include <cstring>

namespace qb {
namespace {

// The fields a row is built from (MessageRowBuilder): the text, the number,
// and the date and index cells as the folder file would hold them. Each field
// left behind is a cache miss less per message for the window's thread.
constexpr std::size_t FieldCount = 4;

MessageView asView(const Message& message) {
    return view(message);
}
MessageView asView(const MessageView& message) {
    return message;
}

} // namespace

template <class Messages> void FolderRows::pack(FolderKind kind, const Messages& messages) {
    m_kind = kind;
    std::string bytes;
    m_ends.clear();
    m_ends.reserve(static_cast<std::size_t>(m_count) * FieldCount);
    const auto field = [&](auto&& append) {
        append();
        m_ends.push_back(static_cast<std::uint32_t>(bytes.size()));
    };
    for (const auto& stored : messages) {
        const MessageView message = asView(stored);
        field([&] { bytes += message.text; });
        field([&] { bytes += message.number; });
        field([&] { record::appendDateLine(bytes, message); });
        field([&] { record::appendIndexLine(bytes, message); });
    }
    // No huge-page advice: a fault that waits for the kernel to compact
    // memory would stall the window's thread, and a predictable 10 ms is
    // worth more here.
    m_bytes = std::make_unique_for_overwrite<char[]>(bytes.size());
    std::memcpy(m_bytes.get(), bytes.data(), bytes.size());
}

const MessageView& FolderRows::unpack(int position) const {
    thread_local MessageView message;
    std::size_t at = static_cast<std::size_t>(position) * FieldCount;
    std::uint32_t start = at == 0 ? 0 : m_ends[at - 1];
    const auto next = [&] {
        const std::string_view text(m_bytes.get() + start, m_ends[at] - start);
        start = m_ends[at++];
        return text;
    };
    message.folder = m_kind;
    message.text = next();
    message.number = next();
    message.stored.dateLine = next();
    message.stored.indexLine = next();
    return message;
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
    rows->m_count = folder.count();
    rows->pack(folderKindOfNode(node), folder);
    rows->takePhonebook(phonebook);
    return rows;
}

std::shared_ptr<const FolderRows> FolderRows::ofPhone(TreeNode node, const ReadFolder& folder,
                                                      const Phonebook& phonebook) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_node = node;
    rows->m_count = static_cast<int>(folder.size());
    rows->pack(folderKindOfNode(node), folder);
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
    if (isGathered()) {
        const Pick& pick = m_picks[static_cast<std::size_t>(position)];
        return m_parts[static_cast<std::size_t>(pick.part)]->row(builder, pick.position);
    }
    return builder.fromFolder(unpack(position), m_kind, position + 1);
}

std::shared_ptr<const FolderRows>
FolderRows::gather(std::vector<std::shared_ptr<const FolderRows>> parts, std::vector<Pick> picks) {
    auto rows = std::make_shared<FolderRows>();
    rows->m_count = static_cast<int>(picks.size());
    for (const auto& part : parts) {
        if (part->namesFailure() && !rows->m_namesFailure)
            rows->m_namesFailure = part->namesFailure();
    }
    if (!parts.empty())
        rows->m_phonebook = parts.front()->m_phonebook;
    rows->m_parts = std::move(parts);
    rows->m_picks = std::move(picks);
    if (rows->m_parts.empty()) // gathered from nothing: still gathered
        rows->m_parts.push_back(none());
    return rows;
}

std::optional<TreeNode> FolderRows::nodeOf(int position) const {
    if (!isGathered())
        return m_node;
    const Pick& pick = m_picks[static_cast<std::size_t>(position)];
    return m_parts[static_cast<std::size_t>(pick.part)]->node();
}

int FolderRows::recordOf(int position) const {
    return isGathered() ? m_picks[static_cast<std::size_t>(position)].position + 1 : position + 1;
}

FolderKind FolderRows::kindOf(int position) const {
    if (!isGathered())
        return m_kind;
    const Pick& pick = m_picks[static_cast<std::size_t>(position)];
    return m_parts[static_cast<std::size_t>(pick.part)]->m_kind;
}

const MessageView& FolderRows::message(int position) const {
    if (!isGathered())
        return unpack(position);
    const Pick& pick = m_picks[static_cast<std::size_t>(position)];
    return m_parts[static_cast<std::size_t>(pick.part)]->unpack(pick.position);
}

QString FolderRows::number(int position) const {
    return archivetext::decode(message(position).number);
}

} // namespace qb
