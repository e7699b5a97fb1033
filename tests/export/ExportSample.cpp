// Writes two exports of the same messages for the browser check: a.htm as an
// HTML export (filter 1) and b.htm holding the same bytes a text export
// (filter 2) gives, which is what the HTML export wrote before values were escaped.
#include "core/Cp1251.h"
#include "export/ExportRun.h"

#include <QString>
#include <cstdio>

using namespace qb;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_sample DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const auto cp = [](const char* utf8) { return cp1251::fromUnicode(QString::fromUtf8(utf8)); };
    const std::vector<ExportRow> rows{
        {{cp("Мама (+79161234567)"), "09/12/2026 10:15", "32", "1",
          cp("Привет! Позвони мне вечером, ёжик")},
         0},
        {{"+79160000000", "09/12/2026 10:16", "80", "2",
          "<script>document.body.setAttribute('data-script','ran')</script>"
          "<img src=x onerror=\"document.body.setAttribute('data-img','ran')\"> & more"},
         1},
    };
    NullProgress progress;
    for (const auto& [name, format] :
         {std::pair{"a.htm", ExportFormat::Html}, std::pair{"b.htm", ExportFormat::Text}}) {
        const ExportSettings job{dir + "/" + name, format, 0, 2};
        if (const auto failure = runExport(defaultTemplate(), rows, job, progress).failure) {
            std::fprintf(stderr, "%s\n", qPrintable(failure->text()));
            return 1;
        }
    }
    return 0;
}
