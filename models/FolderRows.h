#pragma once
// What the message list shows of one folder: its messages as they were when
// it was chosen, with the phonebook that names them. Taken once and never
// changed, and shared: the list builds the rows it paints from it on demand,
// and a sort reads it on a worker thread meanwhile, while the program's own
// archive is read again or handed to a job.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "archive/FolderTree.h"
#include "models/MessageRows.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qb {

class FolderRows {
  public:
    // Nothing to list: a group node, or no node at all.
    static std::shared_ptr<const FolderRows> none(std::optional<TreeNode> node = std::nullopt);
    static std::shared_ptr<const FolderRows> ofArchive(TreeNode node, const ArchiveFolder& folder,
                                                       const Phonebook& phonebook);
    // The positions the last read holds; none before the first read.
    static std::shared_ptr<const FolderRows> ofPhone(TreeNode node, const ReadFolder& folder,
                                                     const Phonebook& phonebook);

    // Messages picked from several folders, in the order given: a search's
    // results or a conversation. Each pick names a part and a position in it.
    struct Pick {
        int part = 0;
        int position = 0;
    };
    static std::shared_ptr<const FolderRows>
    gather(std::vector<std::shared_ptr<const FolderRows>> parts, std::vector<Pick> picks);

    // The node listed, a group node included; none when no node is, or when
    // the rows were gathered from several folders.
    std::optional<TreeNode> node() const { return m_node; }
    bool isGathered() const { return !m_parts.empty(); }
    // The folder of the message at `position`, and its record number there.
    std::optional<TreeNode> nodeOf(int position) const;
    int recordOf(int position) const;
    // Its number as stored, for telling correspondents apart.
    QString number(int position) const;
    // Its folder's kind and the message as stored, valid on the calling
    // thread until its next look at these rows.
    FolderKind kindOf(int position) const;
    const MessageView& message(int position) const;
    int count() const { return m_count; }
    // Set when the phonebook cannot name the rows: no row may be built then.
    const MaybeFailure& namesFailure() const { return m_namesFailure; }
    // A builder for rows of this folder. Each thread that builds rows has its
    // own: it remembers the "От" cells it made.
    std::unique_ptr<MessageRowBuilder> builder() const;
    // The row of the message at `position` (from 0), whose record number is
    // position + 1.
    MessageRow row(MessageRowBuilder& builder, int position) const;

  private:
    // Packs what a row is built from, message by message.
    template <class Messages> void pack(FolderKind kind, const Messages& messages);
    // The message at `position`, as a view of the calling thread's own into
    // the packed bytes, valid until that thread's next unpack.
    const MessageView& unpack(int position) const;
    void takePhonebook(const Phonebook& phonebook);

    std::optional<TreeNode> m_node;
    int m_count = 0;
    FolderKind m_kind = FolderKind::Inbox;
    // The messages' fields one after the other in one buffer, and where each
    // ends: copying 100 000 records field by field took the window's thread
    // tens of milliseconds of allocations, a buffer takes a copy of its bytes.
    std::unique_ptr<char[]> m_bytes;
    std::vector<std::uint32_t> m_ends;
    // Gathered rows hold no messages of their own.
    std::vector<std::shared_ptr<const FolderRows>> m_parts;
    std::vector<Pick> m_picks;
    Phonebook m_phonebook;
    MaybeFailure m_namesFailure;
};

} // namespace qb
