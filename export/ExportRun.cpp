#include "export/ExportRun.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/LineList.h"

#include <QFileInfo>

namespace qb {
namespace {

// The piece opener stands in for the table opener that the previous piece
// took with it: a piece is closed after the first template line of a block.
constexpr std::string_view PieceOpener = "<table border=\"0\" width=\"100%\" id=\"table1\">";

// A filled line is added as a line list adds a text: a value holding line
// breaks gives several lines, and everything after a zero byte is dropped.
void addText(std::string_view text, std::string& buffer)
{
    forEachAddedLine(text, [&buffer](std::string_view line) {
        buffer += line;
        buffer += "\r\n";
    });
}

class PieceWriter {
public:
    PieceWriter(const ExportJob& job, int total) : m_job(job), m_total(total) {}

    void open(bool continued)
    {
        if (m_job.format != ExportFormat::Html)
            return;
        for (const std::string& line : htmlHeader(m_total))
            addText(line, m_buffer);
        if (continued)
            addText(PieceOpener, m_buffer);
    }

    MaybeFailure write(const QString& path, ExportOutcome& outcome)
    {
        MaybeFailure failure = writeWholeFile(path, m_buffer);
        m_buffer.clear();
        if (!failure)
            outcome.written << path;
        return failure;
    }

    std::string& buffer() { return m_buffer; }

private:
    const ExportJob& m_job;
    int m_total;
    std::string m_buffer;
};

PlaceholderValues escaped(const PlaceholderValues& values)
{
    PlaceholderValues result;
    for (std::size_t p = 0; p < PlaceholderCount; ++p)
        result[p] = escapeHtml(values[p]);
    return result;
}

} // namespace

std::vector<int> splitSizes(ExportMode mode, int rowCount)
{
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

QString pieceName(const QString& fileName, int count)
{
    const QString mark = QStringLiteral("_(%1)").arg(count);
    // The extension is looked for in the file's own name, not in its folders.
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return fileName + mark;
    return fileName.left(dot) + mark + fileName.mid(dot);
}

std::vector<std::string> htmlHeader(int total)
{
    static const std::string messages = cp1251::fromUnicode(QStringLiteral(" сообщений"));
    return {
        "<center><font color=blue size=12>Quillbox</font></center>",
        "<center><font color=black size=4>" + std::to_string(total) + messages +
            "</font></center>",
        "<br>",
        "<hr>",
    };
}

std::string escapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

ExportOutcome runExport(const std::vector<std::string>& templateLines,
                        const std::vector<ExportRow>& rows, const ExportJob& job,
                        Progress& progress)
{
    ExportOutcome outcome;
    const int total = static_cast<int>(rows.size());
    const bool split = job.splitSize > 0;
    const bool html = job.format == ExportFormat::Html;
    const TemplateFill fill(templateLines, scanTemplate(templateLines));

    progress.setMaximum(job.listRowCount - 1);
    PieceWriter piece(job, total);
    piece.open(false);
    std::string filled;
    int nextSplit = job.splitSize;
    int done = 0;
    for (const ExportRow& row : rows) {
        progress.setPosition(row.position);
        progress.processEvents();
        const PlaceholderValues values = html ? escaped(row.values) : row.values;
        for (int n = 0; n < fill.lineCount(); ++n) {
            filled.clear();
            fill.appendLine(n, values, filled);
            addText(filled, piece.buffer());
            if (split && done == nextSplit) {
                if ((outcome.failure = piece.write(pieceName(job.fileName, done), outcome)))
                    return outcome;
                nextSplit += job.splitSize;
                piece.open(true);
            }
        }
        ++done;
    }
    outcome.failure = piece.write(split ? pieceName(job.fileName, total) : job.fileName, outcome);
    progress.setPosition(0);
    return outcome;
}

} // namespace qb
