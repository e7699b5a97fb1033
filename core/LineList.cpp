#include "core/LineList.h"

namespace qb {

void LineList::add(std::string_view text) {
    forEachAddedLine(text, [this](std::string_view line) { m_lines.emplace_back(line); });
}

std::string_view LineList::lineView(int index) const {
    if (index < 0 || index >= count())
        return {};
    std::string_view l = m_lines[static_cast<std::size_t>(index)];
    return l.substr(0, MaxLineLength);
}

std::vector<std::string> splitFileLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(content.substr(start, i - start));
        if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < content.size())
        lines.emplace_back(content.substr(start));
    return lines;
}

std::string joinFileLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

} // namespace qb
