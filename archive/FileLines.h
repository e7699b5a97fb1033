#pragma once
// Archive files taken apart without copying: lines are views into the file's
// bytes, found sixteen bytes at a time, so loading and merging a folder of
// 100 000 records allocates only for what it keeps.
#include "core/LineList.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb::fileLines {

// The lines of a file's content one after the other, by the same rules as
// splitFileLines: breaks at CR LF, lone CR and lone LF; no empty line after a
// final break; an empty file has no lines.
class Cursor {
  public:
    explicit Cursor(std::string_view content)
        : m_pos(content.data()), m_end(content.data() + content.size()) {}
    // The next line, or false after the last one.
    bool next(std::string_view& line);

  private:
    const char* m_pos;
    const char* m_end;
};

// How many lines the cursor gives, counted without walking line by line.
std::size_t count(std::string_view content);
std::vector<std::string_view> split(std::string_view content);
// Appends the content's lines to `out` as a writer stores them: each followed
// by CR LF (so a last line without a break gets one), kept whole past 4096 characters.
void appendLines(std::string_view content, std::string& out);

// What a reader of an archive file sees of a line: at most its first 4096 characters.
inline std::string_view readerView(std::string_view line) {
    return line.substr(0, LineList::MaxLineLength);
}

// Line `index` (from 0) as a reader sees it; empty past the end.
inline std::string_view readerLine(const std::vector<std::string_view>& lines, std::size_t index) {
    return index < lines.size() ? readerView(lines[index]) : std::string_view();
}

} // namespace qb::fileLines
