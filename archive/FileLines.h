#pragma once
// Archive files taken apart without copying: lines are views into the file's
// bytes, so loading and merging a folder of 100 000 records allocates only
// for what it keeps.
#include "core/ArchiveText.h"
#include "core/LineList.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb::fileLines {

// The lines of a file's content one after the other, by the same rules as
// splitFileLines: breaks at CR LF, lone CR and lone LF; no empty line after a
// final break; an empty file has no lines.
// Bit i set for a CR, or an LF, at p[i], for the 64 bytes from p (fewer at the end).
struct Breaks {
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
};
Breaks breaksIn(const char* p, const char* end);

// Line ends are found 64 bytes at a time as one bit mask, so a folder's short
// lines cost a few instructions each instead of a search apiece.
class Cursor {
  public:
    explicit Cursor(std::string_view content)
        : m_pos(content.data()), m_end(content.data() + content.size()), m_block(m_pos) {
        if (m_pos != m_end)
            markBlock();
    }
    // The next line, or false after the last one.
    bool next(std::string_view& line) {
        if (m_pos == m_end)
            return false;
        while (m_ends == 0) {
            if (!nextBlock()) {
                // No break left: the last line runs to the end.
                line = std::string_view(m_pos, static_cast<std::size_t>(m_end - m_pos));
                m_pos = m_end;
                return true;
            }
        }
        const int bit = __builtin_ctzll(m_ends);
        m_ends &= m_ends - 1;
        const char* const brk = m_block + bit;
        line = std::string_view(m_pos, static_cast<std::size_t>(brk - m_pos));
        m_pos = brk + 1 + ((m_pairs >> bit) & 1);
        return true;
    }

    // Where the next line starts.
    const char* position() const { return m_pos; }

  private:
    // Moves on to the next 64 bytes; false at the end.
    bool nextBlock() {
        if (m_end - m_block <= 64)
            return false;
        m_block += 64;
        markBlock();
        return true;
    }
    // Every CR ends a line, and every LF but the one of a CR LF pair.
    void markBlock() {
        const Breaks breaks = breaksIn(m_block, m_end);
        const std::uint64_t afterCr = breaks.cr << 1 | static_cast<std::uint64_t>(m_crBefore);
        const bool lfNext = m_end - m_block > 64 && m_block[64] == '\n';
        const std::uint64_t beforeLf = breaks.lf >> 1 | static_cast<std::uint64_t>(lfNext) << 63;
        m_ends = breaks.cr | (breaks.lf & ~afterCr);
        m_pairs = breaks.cr & beforeLf;
        m_crBefore = breaks.cr >> 63;
    }

    const char* m_pos;
    const char* m_end;
    const char* m_block;     // the 64 bytes the masks describe
    std::uint64_t m_ends{};  // bit i: a line not taken yet ends at m_block[i]
    std::uint64_t m_pairs{}; // bit i: that end is a CR LF pair, two bytes long
    bool m_crBefore = false; // the byte before m_block is a CR
};

// Hands out memory as it is: the line table grows by a room per byte of each
// scanned piece and shrinks to the lines found, and zeroing that room would
// be one more pass, four bytes a byte, over every piece.
template <class T> struct UninitializedAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitializedAllocator<U>; };
    UninitializedAllocator() = default;
    template <class U> UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <class U, class... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// Where each line of a file starts, as byte positions.
using LineStarts = std::vector<std::uint32_t, UninitializedAllocator<std::uint32_t>>;

// Where the lines of content[from, to) after the first one start: for every
// line break ending in that range, the position after it is appended to
// `starts`. A break is taken whole: a CR at `to` - 1 is looked at with the
// byte after it, which must then be in `content`. `crBefore` says whether the
// byte before `from` is a CR of a break already taken, and is updated for the
// next range.
void appendLineStarts(std::string_view content, std::size_t from, std::size_t to, bool& crBefore,
                      LineStarts& starts);

// How many lines the cursor gives, counted without walking line by line.
std::size_t count(std::string_view content);
// Appends the content's lines to `out` as a writer stores them: each followed
// by CR LF (so a last line without a break gets one), kept whole past 4096 characters.
void appendLines(std::string_view content, std::string& out);

// What a reader of an archive file sees of a line: at most its first 4096
// characters, an escape of the archive's text (core/ArchiveText.h) counting
// as the one character it stands for, so a text is never cut inside one and
// its characters count alike whether the code page has them or not.
inline std::string_view readerView(std::string_view line) {
    if (line.size() <= LineList::MaxLineLength)
        return line;
    return line.substr(0, archivetext::prefixOfCharacters(line, LineList::MaxLineLength));
}

} // namespace qb::fileLines
