#include "archive/ArchiveFiles.h"

#include "archive/ArchiveLock.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "archive/RecordLines.h"
#include "core/FileStore.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qb {
namespace {

// The keys of the read's messages, each marked once a block of the file equals
// it. The file's blocks are streamed past these keys rather than the other way
// round: a read holds a few hundred messages, the file up to 100 000, and
// joining and storing every block of the file cost more than the rest of the merge.
// A message also has the keys of the forms earlier reads stored it in: its
// text as the earlier decodings gave it, which dropped characters (and, the
// earliest, line breaks), and a standard phone's received message as it was before listing
// it marked it read.
class ReadKeys {
  public:
    explicit ReadKeys(const ReadFolder& read) : m_keys(read.size()), m_earlierKeys(read.size()) {
        m_found.reserve(read.size());
        for (std::size_t k = 0; k < read.size(); ++k) {
            const MessageView message = view(read[k]);
            record::appendKey(m_keys[k], message);
            m_found.emplace(m_keys[k], false);
            addEarlierKeys(m_earlierKeys[k], message);
            if (const std::optional<Message> unread = record::asListedUnread(message))
                addEarlierKeys(m_earlierKeys[k], view(*unread), true);
            if (const std::optional<std::string> dropped = record::droppingDecoderText(message))
                record::appendKey(m_earlierKeys[k].emplace_back(), message, *dropped);
            for (const std::string& key : m_earlierKeys[k])
                m_found.emplace(key, false);
        }
    }
    void blockSeen(std::string_view block) {
        const auto it = m_found.find(block);
        if (it != m_found.end())
            it->second = true;
    }
    // Message k (from 0) is in the file already, in the form it has now or an earlier one.
    bool archived(std::size_t k) const {
        if (m_found.at(m_keys[k]))
            return true;
        return std::any_of(m_earlierKeys[k].begin(), m_earlierKeys[k].end(),
                           [this](const std::string& key) { return m_found.at(key); });
    }
    bool empty() const { return m_keys.empty(); }

  private:
    // The keys of `message` as archives written by earlier versions hold it:
    // with the text the earlier decoding gave, and with its own text where
    // `withOwnText`.
    static void addEarlierKeys(std::vector<std::string>& keys, const MessageView& message,
                               bool withOwnText = false) {
        if (withOwnText)
            record::appendKey(keys.emplace_back(), message);
        if (message.stored.formerText)
            record::appendKey(keys.emplace_back(), message, message.stored.formerText);
    }

    std::vector<std::string> m_keys;
    std::vector<std::vector<std::string>> m_earlierKeys; // mostly empty
    std::unordered_map<std::string_view, bool> m_found;
};

// Copies the file's lines to `out`, each followed by CR LF (so a last line
// without a break gets one before anything is appended; stored lines stay whole,
// also past 4096 characters), and shows every block of `size` lines to `keys`
// joined as a reader sees it: lines cut at 4096 characters, a partial last
// block padded with empty lines, which add nothing to the join.
void takeExisting(std::string_view content, std::size_t size, std::string& out, ReadKeys& keys) {
    out.reserve(content.size() + 2 * fileLines::count(content));
    fileLines::Cursor cursor(content);
    std::string_view line;
    std::string block;
    std::size_t inBlock = 0;
    while (cursor.next(line)) {
        out += line;
        out += "\r\n";
        if (keys.empty())
            continue;
        block += fileLines::readerView(line);
        if (++inBlock == size) {
            keys.blockSeen(block);
            block.clear();
            inBlock = 0;
        }
    }
    if (inBlock != 0)
        keys.blockSeen(block);
}

MaybeFailure mergeFolder(const QString& workDir, FolderKind kind, const ReadFolder& read,
                         int& appended) {
    const QString path = resolveInDir(workDir, folderFileName(kind));
    FolderFile file(path);
    if (file.failure())
        return file.failure();

    ReadKeys keys(read);
    std::string out;
    takeExisting(file.bytes(), static_cast<std::size_t>(record::lineCount(kind)), out, keys);
    file.release(); // the file is replaced below
    // Duplicates are looked for only among the records that were there before:
    // two equal messages of one read are both appended.
    int added = 0;
    for (std::size_t k = 0; k < read.size(); ++k) {
        if (!keys.archived(k)) {
            record::appendRecord(out, view(read[k]));
            ++added;
        }
    }
    MaybeFailure failure = writeWholeFile(path, out);
    if (!failure)
        appended = added;
    return failure;
}

} // namespace

MaybeFailure mergeReadResult(const QString& workDir, const ReadResult& read,
                             AppendedCounts* appended) {
    AppendedCounts counts{};
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
        MaybeFailure failure =
            mergeFolder(workDir, kind, read.folder(kind), counts[static_cast<int>(kind)]);
        if (appended)
            *appended = counts;
        if (failure)
            return failure;
    }
    return std::nullopt;
}

MaybeFailure storePhoneRead(const QString& workDir, const ReadResult& read,
                            const std::optional<Phonebook>& listed, const Phonebook& known,
                            Cancellation* cancel, AppendedCounts* appended) {
    const ArchiveLock lock(workDir, cancel);
    if (!lock.mayWrite())
        return lock.failure();
    if (listed) {
        if (MaybeFailure failure = savePhonebook(workDir, *listed))
            return failure;
    } else if (!nameTaken(resolveInDir(workDir, PhonebookFileName))) {
        if (MaybeFailure failure = savePhonebook(workDir, known))
            return failure;
    }
    return mergeReadResult(workDir, read, appended);
}

} // namespace qb
