#include "export/ExportTemplate.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/LineList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace qb {
namespace {

constexpr std::array<std::string_view, PlaceholderCount> Names{"$from", "$date", "$size", "$index",
                                                               "$sms"};

std::vector<std::string> buildDefaultTemplate() {
    // One entry per line: the TABs that open it, then the rest of the line.
    static const char* const lines[] = {
        "<table border=\"0\" width=\"100%\" id=\"table1\">",
        "\t<tr>",
        "\t\t<td width=\"92\" align=\"left\"><u>",
        "\t\t<b><font face=\"Times New Roman\">От</font></b></u></td>",
        "\t\t<td><font face=\"Times New Roman\">$from</td>",
        "\t</tr>",
        "\t<tr>",
        "\t\t<td width=\"92\" align=\"left\"><u>",
        "\t\t<b><font face=\"Times New Roman\">Дата/Время</font></b></u></td>",
        "\t\t<td><font face=\"Times New Roman\">$date</td>",
        "\t</tr>",
        "\t<tr>",
        "\t\t<td width=\"92\" align=\"left\"><u>",
        "\t\t<b><font face=\"Times New Roman\">Размер</font></b></u></td>",
        "\t\t<td><font face=\"Times New Roman\">$size</td>",
        "\t</tr>",
        "\t<tr>",
        "\t\t<td width=\"92\" align=\"left\"><u>",
        "\t\t<b><font face=\"Times New Roman\">Индекс</font></b></u></td>",
        "\t\t<td><font face=\"Times New Roman\">$index</td>",
        "\t</tr>",
        "\t<tr>",
        "\t\t<td width=\"92\" align=\"left\"><u>",
        "\t\t<b><font face=\"Times New Roman\">Сообщение</font></b></u></td>",
        "\t\t<td><font face=\"Times New Roman\">$sms</td>",
        "\t</tr>",
        "\t</td></table>",
        "\t<hr>",
    };
    std::vector<std::string> result;
    for (const char* line : lines)
        result.push_back(cp1251::fromUnicode(QString::fromUtf8(line)));
    return result;
}

} // namespace

std::string_view placeholderText(Placeholder placeholder) {
    return Names[static_cast<std::size_t>(placeholder)];
}

const std::vector<std::string>& defaultTemplate() {
    static const std::vector<std::string> lines = buildDefaultTemplate();
    return lines;
}

QString templatePath(const QString& workDir) {
    // Found without regard to letter case, as the archive files are: a folder
    // carried over from Windows may hold "NORMAL.HTM".
    return resolveInDir(workDir, QStringLiteral("Normal.htm"));
}

MaybeFailure ensureDefaultTemplate(const QString& workDir) {
    // A link to a template on a drive not mounted is the user's template still.
    if (nameTaken(templatePath(workDir)))
        return std::nullopt;
    return writeTemplate(workDir, defaultTemplate());
}

TemplateRead readTemplate(const QString& workDir) {
    FileRead file = readWholeFile(templatePath(workDir));
    TemplateRead result;
    result.exists = file.exists;
    result.failure = std::move(file.failure);
    try {
        if (file.exists && !result.failure)
            result.lines = splitFileLines(file.bytes);
    } catch (const std::bad_alloc&) {
        // Millions of empty lines fit the size limit but maybe not in memory.
        result.lines.clear();
        result.failure = Failure::cannotOpen(templatePath(workDir),
                                             QString::fromLocal8Bit(std::strerror(ENOMEM)));
    }
    return result;
}

MaybeFailure writeTemplate(const QString& workDir, const std::vector<std::string>& lines) {
    return writeWholeFile(templatePath(workDir), joinFileLines(lines));
}

PlaceholderSpots scanTemplate(const std::vector<std::string>& lines) {
    PlaceholderSpots spots;
    for (std::size_t p = 0; p < PlaceholderCount; ++p) {
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const auto at = lines[n].find(Names[p]);
            if (at != std::string::npos)
                spots[p] = PlaceholderSpot{static_cast<int>(n), static_cast<int>(at) + 1};
        }
    }
    return spots;
}

TemplateFill::TemplateFill(const std::vector<std::string>& lines, const PlaceholderSpots& spots)
    : m_lines(lines), m_slots(lines.size()) {
    // Walking the placeholders from the last to the first leaves the first in
    // precedence on a line that holds several spots.
    for (std::size_t p = PlaceholderCount; p-- > 0;) {
        const auto& spot = spots[p];
        if (!spot || spot->line < 0 || static_cast<std::size_t>(spot->line) >= lines.size())
            continue;
        m_slots[static_cast<std::size_t>(spot->line)] =
            Slot{static_cast<Placeholder>(p), static_cast<std::size_t>(spot->position - 1)};
    }
}

void TemplateFill::appendLine(int n, const PlaceholderValues& values, std::string& out) const {
    const std::string& text = m_lines[static_cast<std::size_t>(n)];
    const Slot& slot = m_slots[static_cast<std::size_t>(n)];
    if (!slot.placeholder) {
        out += text;
        return;
    }
    const auto p = static_cast<std::size_t>(*slot.placeholder);
    const std::size_t offset = std::min(slot.offset, text.size());
    out.append(text, 0, offset);
    out += values[p];
    const std::size_t rest = offset + Names[p].size();
    if (rest < text.size())
        out.append(text, rest, std::string::npos);
}

std::string TemplateFill::line(int n, const PlaceholderValues& values) const {
    std::string out;
    appendLine(n, values, out);
    return out;
}

} // namespace qb
