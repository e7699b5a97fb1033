#pragma once
// The archive in memory. A folder holds its file's bytes in one buffer and
// where each line starts in it: no text of a record is copied, so a folder of
// 100 000 records is one allocation for the bytes and one for the lines. The
// file is taken apart piece by piece while it is read, each piece while it is
// still in the processor's cache; a record's fields are read from its lines
// when it is looked at.
#include "archive/FileLines.h"
#include "archive/Message.h"
#include "core/ByteBuffer.h"
#include "core/Failure.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class ArchiveFolder {
  public:
    explicit ArchiveFolder(FolderKind kind = FolderKind::Inbox) : m_kind(kind) {}

    // The folder a folder file's content holds.
    static ArchiveFolder fromContent(FolderKind kind, std::string content);
    // Reads the folder file at `path` in place of what the folder holds,
    // reusing its memory. A missing file is an empty folder. A file that is
    // refused before it is read (not a regular file, too large, unreadable)
    // leaves the folder as it was; one that fails while it is read, or holds
    // more lines than a folder may, leaves it empty.
    MaybeFailure reload(const QString& path);

    FolderKind kind() const { return m_kind; }
    int count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // Record i (from 0, in file order). Its texts stay valid until the folder
    // is reloaded or destroyed.
    MessageView message(int i) const;

    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MessageView;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = MessageView;
        Iterator(const ArchiveFolder* folder, int i) : m_folder(folder), m_i(i) {}
        MessageView operator*() const { return m_folder->message(m_i); }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++m_i;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_i == other.m_i; }

      private:
        const ArchiveFolder* m_folder;
        int m_i;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, count()}; }

  private:
    // Forgets the lines of the last load, keeping their memory.
    void beginParse();
    // Finds the lines of `soFar` from where the last call stopped; `atEnd`
    // takes the rest too and counts the records, a partial last one included.
    void parse(std::string_view soFar, bool atEnd);
    // Ends a load: false when the file held more lines than a folder may.
    bool parsed();
    // Line j (from 0) as a reader sees it; empty past the last line.
    std::string_view line(std::size_t j) const;
    std::size_t lineCount() const { return m_lineStarts.empty() ? 0 : m_lineStarts.size() - 1; }
    void clear();

    FolderKind m_kind;
    ByteBuffer m_bytes;
    // Where every line starts, then where the bytes after the last one start:
    // a line runs to the break in front of the next one. Four bytes a line
    // keep a folder of 100 000 records to 1.6 MB besides its bytes.
    fileLines::LineStarts m_lineStarts;
    int m_count = 0;           // records
    std::size_t m_scanned = 0; // the bytes looked at for breaks so far
    bool m_crBefore = false;   // the last byte looked at is a CR
};

struct Archive {
    ArchiveFolder inbox{FolderKind::Inbox};
    ArchiveFolder outbox{FolderKind::Outbox};
    ArchiveFolder draft{FolderKind::Draft};
    ArchiveFolder& folder(FolderKind kind);
    const ArchiveFolder& folder(FolderKind kind) const;
};

} // namespace qb
