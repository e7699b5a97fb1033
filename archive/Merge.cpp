#include "archive/ArchiveFiles.h"

#include "archive/ArchiveLock.h"
#include "archive/FileLines.h"
#include "archive/FolderFile.h"
#include "codecs/LegacyUcs2Decoder.h"
#include "core/FileStore.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qb {
namespace {

// The data model's capacity: a countMark beyond it and beyond what the read
// holds cannot describe real records.
constexpr std::size_t ReadCapacity = 100000;

// The records of the read to merge: the first countMark + 1 positions. A mark
// that is not a number counts as no records, so the file is still written.
std::size_t mergeCount(const ReadFolder& read) {
    const auto count = read.count();
    if (!count || *count <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(*count), std::max(ReadCapacity, read.entries.size()));
}

// Fields of a read record in stored line order; positions never filled are empty.
void appendRecordKey(std::string& key, const ReadEntry* entry, FolderKind kind,
                     const std::string* text = nullptr) {
    if (!entry)
        return;
    key += text ? *text : entry->text;
    key += entry->index;
    key += entry->header;
    if (kind == FolderKind::Inbox)
        key += entry->date;
}

void appendRecordLines(std::string& out, const ReadEntry* entry, FolderKind kind) {
    static const ReadEntry empty;
    const ReadEntry& e = entry ? *entry : empty;
    for (const std::string* field : {&e.text, &e.index, &e.header}) {
        out += *field;
        out += "\r\n";
    }
    if (kind == FolderKind::Inbox) {
        out += e.date;
        out += "\r\n";
    }
}

// The keys of the read's records, each marked once a block of the file equals
// it. The file's blocks are streamed past these keys rather than the other way
// round: a read holds a few hundred records, the file up to 100 000, and
// joining and storing every block of the file cost more than the rest of the merge.
// A record also has the key its text had under the earlier decoding, which
// dropped characters and line breaks: archives written then hold it that way.
class ReadKeys {
  public:
    ReadKeys(const ReadFolder& read, std::size_t count, FolderKind kind)
        : m_keys(count), m_legacyKeys(count) {
        m_found.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const ReadEntry* entry = read.find(static_cast<int>(k + 1));
            appendRecordKey(m_keys[k], entry, kind);
            m_found.emplace(m_keys[k], false);
            if (entry && !entry->textHex.empty()) {
                const std::string legacyText = decodeUcs2HexLegacy(entry->textHex);
                if (legacyText != entry->text) {
                    appendRecordKey(m_legacyKeys[k].emplace(), entry, kind, &legacyText);
                    m_found.emplace(*m_legacyKeys[k], false);
                }
            }
        }
    }
    void blockSeen(std::string_view block) {
        const auto it = m_found.find(block);
        if (it != m_found.end())
            it->second = true;
    }
    // Record k (from 0) is in the file already, written by today's decoding or the earlier one.
    bool archived(std::size_t k) const {
        return m_found.at(m_keys[k]) || (m_legacyKeys[k] && m_found.at(*m_legacyKeys[k]));
    }
    bool empty() const { return m_keys.empty(); }

  private:
    std::vector<std::string> m_keys;
    std::vector<std::optional<std::string>> m_legacyKeys; // none when both decodings agree
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

    const std::size_t count = mergeCount(read);
    ReadKeys keys(read, count, kind);
    std::string out;
    takeExisting(file.bytes(), static_cast<std::size_t>(recordSize(kind)), out, keys);
    file.release(); // the file is replaced below
    // Duplicates are looked for only among the records that were there before:
    // two equal records of one read are both appended.
    int added = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (!keys.archived(k)) {
            appendRecordLines(out, read.find(static_cast<int>(k + 1)), kind);
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
