#include "export/ExportRun.h"

#include "core/ArchiveText.h"
#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/LineList.h"

#include <QByteArray>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <optional>

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

// Each piece is written to its file as the export goes, through a StagedFile:
// memory holds one chunk of output whatever the template and the number of
// messages, and the file appears under its name only once it is whole.
class PieceWriter {
  public:
    // Output is handed to the file in chunks of about this size.
    static constexpr std::size_t ChunkBytes = std::size_t(1) << 20;

    PieceWriter(const ExportSettings& settings, int total) : m_settings(settings), m_total(total) {
        m_buffer.reserve(ChunkBytes + ChunkBytes / 4);
    }

    // The piece's file is known from its start: the one closed at the next
    // split point, or the last one, named by the total.
    void open(const QString& path, bool continued) {
        // An export is made to be opened and passed on, unlike the archive it comes from.
        m_file.emplace(path, NewFileAccess::Usual);
        if (m_settings.format != ExportFormat::Html)
            return;
        for (const std::string& line : htmlHeader(m_total))
            addText(line, m_buffer);
        if (continued)
            addText(PieceOpener, m_buffer);
    }

    // Passes a full chunk on to the file.
    void flushFull() {
        if (m_buffer.size() >= ChunkBytes)
            flush();
    }

    MaybeFailure close(ExportOutcome& outcome) {
        flush();
        MaybeFailure failure = m_file->commit();
        if (!failure)
            outcome.written << m_file->path();
        m_file.reset();
        return failure;
    }

    std::string& buffer() { return m_buffer; }

  private:
    void flush() {
        m_file->write(m_buffer); // a failure is kept for close() to report
        m_buffer.clear();
    }

    const ExportSettings& m_settings;
    int m_total;
    std::string m_buffer;
    std::optional<StagedFile> m_file;
};

// Plain loops: find_first_of calls memchr on its set for every character.
bool breaksLines(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\0'; });
}

bool needsEscape(char c) {
    return c == '&' || c == '<' || c == '>' || c == '"' || c == '\'';
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

// A text holding the archive's escapes: the characters the code page lacks
// become character references, so the page shows them.
void appendEscapedKept(std::string_view text, std::string& out) {
    for (const char32_t c : archivetext::decode(text).toUcs4()) {
        const std::string bytes = archivetext::encode(QString::fromUcs4(&c, 1));
        if (c < 0x20 || c == 0x7F) // a control code stays the byte it was
            out += static_cast<char>(c);
        else if (archivetext::holdsEscape(bytes))
            out += "&#x" + QByteArray::number(uint(c), 16).toUpper().toStdString() + ';';
        else
            appendEscapedHtml(bytes, out);
    }
}

void appendEscapedHtml(std::string_view text, std::string& out) {
    if (archivetext::holdsEscape(text)) {
        appendEscapedKept(text, out);
        return;
    }
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
    int nextSplit = settings.splitSize;
    const auto pieceFile = [&] {
        if (!split)
            return settings.fileName;
        return pieceName(settings.fileName, nextSplit < total ? nextSplit : total);
    };
    PieceWriter piece(settings, total);
    piece.open(pieceFile(), false);
    bool templateBreaks = false;
    for (const std::string& line : templateLines)
        templateBreaks = templateBreaks || breaksLines(line);
    std::string filled;
    PlaceholderValues escapedValues;
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
                if ((outcome.failure = piece.close(outcome)))
                    return outcome;
                nextSplit += settings.splitSize;
                piece.open(pieceFile(), true);
            }
            piece.flushFull();
        }
        ++done;
    }
    if (stopsHere(cancel))
        return outcome;
    outcome.failure = piece.close(outcome);
    progress.setPosition(0);
    return outcome;
}

} // namespace qb
