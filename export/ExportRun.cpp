#include "export/ExportRun.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/HugePages.h"
#include "core/LineList.h"

#include <QFileInfo>
#include <algorithm>

namespace qb {
namespace {

// The piece opener stands in for the table opener that the previous piece
// took with it: a piece is closed after the first template line of a block.
constexpr std::string_view PieceOpener = "<table border=\"0\" width=\"100%\" id=\"table1\">";

// A filled line is added as a line list adds a text: a value holding line
// breaks gives several lines, and everything after a zero byte is dropped.
void addText(std::string_view text, std::string& buffer) {
    forEachAddedLine(text, [&buffer](std::string_view line) {
        buffer += line;
        buffer += "\r\n";
    });
}

class PieceWriter {
  public:
    PieceWriter(const ExportSettings& settings, int total) : m_settings(settings), m_total(total) {}

    void open(bool continued) {
        if (m_settings.format != ExportFormat::Html)
            return;
        for (const std::string& line : htmlHeader(m_total))
            addText(line, m_buffer);
        if (continued)
            addText(PieceOpener, m_buffer);
    }

    MaybeFailure write(const QString& path, ExportOutcome& outcome) {
        // An export is made to be opened and passed on, unlike the archive it comes from.
        MaybeFailure failure = writeWholeFile(path, m_buffer, NewFileAccess::Usual);
        m_buffer.clear();
        if (!failure)
            outcome.written << path;
        return failure;
    }

    std::string& buffer() { return m_buffer; }

  private:
    const ExportSettings& m_settings;
    int m_total;
    std::string m_buffer;
};

// Plain loops: find_first_of calls memchr on its set for every character.
bool breaksLines(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\0'; });
}

bool needsEscape(char c) {
    return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'';
}

// Room for the whole output at once: the buffer of a large export would
// otherwise be copied each time it doubled.
std::size_t expectedSize(const std::vector<std::string>& lines,
                         const std::vector<ExportRow>& rows) {
    std::size_t perBlock = 0;
    for (const std::string& line : lines)
        perBlock += line.size() + 2;
    std::size_t values = 0;
    for (const ExportRow& row : rows) {
        for (const std::string& value : row.values)
            values += value.size();
    }
    return perBlock * rows.size() + values + values / 8;
}

bool breaksLines(const PlaceholderValues& values) {
    for (const std::string& value : values) {
        if (breaksLines(value))
            return true;
    }
    return false;
}

} // namespace

std::vector<int> splitSizes(ExportMode mode, int rowCount) {
    std::vector<int> sizes;
    if (mode == ExportMode::Selected) {
        for (int n = 1; n <= rowCount; ++n)
            sizes.push_back(n);
        return sizes;
    }
    for (int n = 20; n < rowCount - 1; n += n <= 99 ? 20 : 100)
        sizes.push_back(n);
    return sizes;
}

QString pieceName(const QString& fileName, int count) {
    const QString mark = QStringLiteral("_(%1)").arg(count);
    // The extension is looked for in the file's own name, not in its folders.
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return fileName + mark;
    return fileName.left(dot) + mark + fileName.mid(dot);
}

std::vector<std::string> htmlHeader(int total) {
    static const std::string messages = cp1251::fromUnicode(QStringLiteral(" сообщений"));
    return {
        "<center><font color=blue size=12>Quillbox</font></center>",
        "<center><font color=black size=4>" + std::to_string(total) + messages + "</font></center>",
        "<br>",
        "<hr>",
    };
}

void appendEscapedHtml(std::string_view text, std::string& out) {
    const auto first = std::find_if(text.begin(), text.end(), needsEscape);
    out.append(text.begin(), first);
    for (const char c : std::string_view(first, text.end())) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
}

ExportOutcome runExport(const std::vector<std::string>& templateLines,
                        const std::vector<ExportRow>& rows, const ExportSettings& settings,
                        Progress& progress, Cancellation* cancel) {
    ExportOutcome outcome;
    const int total = static_cast<int>(rows.size());
    const bool split = settings.splitSize > 0;
    const bool html = settings.format == ExportFormat::Html;
    const TemplateFill fill(templateLines, scanTemplate(templateLines));

    progress.setMaximum(settings.listRowCount - 1);
    PieceWriter piece(settings, total);
    if (!split) {
        piece.buffer().reserve(expectedSize(templateLines, rows));
        adviseHugePages(piece.buffer());
    }
    piece.open(false);
    bool templateBreaks = false;
    for (const std::string& line : templateLines)
        templateBreaks = templateBreaks || breaksLines(line);
    std::string filled;
    PlaceholderValues escapedValues;
    int nextSplit = settings.splitSize;
    int done = 0;
    for (const ExportRow& row : rows) {
        if (stopsHere(cancel))
            return outcome;
        progress.setPosition(row.position);
        if (html) {
            for (std::size_t p = 0; p < PlaceholderCount; ++p) {
                escapedValues[p].clear();
                appendEscapedHtml(row.values[p], escapedValues[p]);
            }
        }
        const PlaceholderValues& values = html ? escapedValues : row.values;
        const bool breaks = templateBreaks || breaksLines(values);
        for (int n = 0; n < fill.lineCount(); ++n) {
            if (breaks) {
                filled.clear();
                fill.appendLine(n, values, filled);
                addText(filled, piece.buffer());
            } else {
                // Nothing on this line can break it or cut it short.
                fill.appendLine(n, values, piece.buffer());
                piece.buffer() += "\r\n";
            }
            if (split && done == nextSplit) {
                if (stopsHere(cancel))
                    return outcome;
                if ((outcome.failure = piece.write(pieceName(settings.fileName, done), outcome)))
                    return outcome;
                nextSplit += settings.splitSize;
                piece.open(true);
            }
        }
        ++done;
    }
    if (stopsHere(cancel))
        return outcome;
    outcome.failure =
        piece.write(split ? pieceName(settings.fileName, total) : settings.fileName, outcome);
    progress.setPosition(0);
    return outcome;
}

} // namespace qb
