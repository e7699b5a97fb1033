#pragma once
// A text held as an ordered list of lines, numbered from 0. Texts are
// Windows-1251 bytes. The rules mirror how the program has always taken
// replies and files apart, so every parser agrees on line numbers.
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class LineList {
  public:
    // Longest part of a line a reader sees; the rest is ignored.
    static constexpr std::size_t MaxLineLength = 4096;

    // Appends a text as one or more lines. Only CR LF breaks it (a CR right in
    // front of the CR LF belongs to the break); a lone CR or LF stays inside
    // its line. The text ends at its first zero byte. A final break does not
    // start an extra empty line.
    void add(std::string_view text);
    int count() const { return static_cast<int>(m_lines.size()); }
    // Empty past the end; at most MaxLineLength characters.
    std::string_view lineView(int index) const;

  private:
    std::vector<std::string> m_lines;
};

// Gives `take` every line that LineList::add appends for `text`, by the same
// rules, so writers that stream lines straight into a file's bytes agree with it.
template <typename Take> void forEachAddedLine(std::string_view text, Take&& take) {
    const auto nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::size_t start = 0;
    while (true) {
        const auto crlf = text.find("\r\n", start);
        if (crlf == std::string_view::npos)
            break;
        std::size_t end = crlf;
        if (end > start && text[end - 1] == '\r')
            --end; // CR CR LF: the first CR belongs to the break
        take(text.substr(start, end - start));
        start = crlf + 2;
    }
    if (start < text.size() || start == 0)
        take(text.substr(start));
}

// Splits file content by the file rules (CR LF, lone CR, lone LF; no empty
// line after a final break; an empty file has no lines). Lines are not capped.
std::vector<std::string> splitFileLines(std::string_view content);
// Joins lines with CR LF after every one of them.
std::string joinFileLines(const std::vector<std::string>& lines);

} // namespace qb
