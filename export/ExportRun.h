#pragma once
// Writing list rows out through the export template: one HTML document or
// text file, or pieces of N messages each.
#include "core/Cancellation.h"
#include "core/Failure.h"
#include "core/Progress.h"
#include "export/ExportTemplate.h"

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

enum class ExportMode { Selected, All };
// The save dialog's filters: 1 HTML, 2 plain text.
enum class ExportFormat { Html = 1, Text = 2 };

// One list row as the export reads it, in Windows-1251.
struct ExportRow {
    PlaceholderValues values; // indexed by Placeholder
    int position = 0;         // the row's place in the list, from 0
};

struct ExportSettings {
    QString fileName;
    ExportFormat format = ExportFormat::Html;
    // Messages per piece; 0 writes one file under fileName.
    int splitSize = 0;
    // Rows in the whole list: the progress runs over all of them even when
    // only the selected rows are written.
    int listRowCount = 0;
};

struct ExportOutcome {
    QStringList written; // the files written, in order; they stay after a failure
    MaybeFailure failure;
};

// The sizes offered for splitting: 20, 40, 60, 80, 100, 200, 300, ... below
// the list's row count minus 1 in All mode; 1 up to the count in Selected mode.
std::vector<int> splitSizes(ExportMode mode, int rowCount);

// The name of the piece that ends after `count` messages: "sms.htm" gives
// "sms_(20).htm"; a name without an extension gets the count at its end.
QString pieceName(const QString& fileName, int count);

// The four lines that open every HTML file.
std::vector<std::string> htmlHeader(int total);

// Makes a value safe to place in HTML text or an attribute.
void appendEscapedHtml(std::string_view text, std::string& out);

// A `cancel` honoured between rows writes no further file; the pieces
// already written stay, as after a failure, and are listed.
ExportOutcome runExport(const std::vector<std::string>& templateLines,
                        const std::vector<ExportRow>& rows, const ExportSettings& settings,
                        Progress& progress, Cancellation* cancel = nullptr);

} // namespace qb
