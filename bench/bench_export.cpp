// Exporting a full folder: 100 000 messages through the default template into
// one HTML file, next to writing the same bytes straight to disk, so the
// template filling's own cost shows against the cost of the write itself.
#include "support/ArchiveGenerator.h"

#include "archive/RecordLines.h"
#include "core/FileStore.h"
#include "export/ExportRun.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace qb;
using namespace qb::bench;

namespace {

constexpr int Messages = 100000;

struct ExportData {
    QTemporaryDir dir;
    std::vector<ExportRow> rows;
    std::string bytes; // what the export writes, for the raw baseline

    ExportData() {
        ArchiveGenerator generator;
        const auto messages = generator.messages(FolderKind::Inbox, Messages);
        rows.reserve(messages.size());
        int position = 0;
        for (const Message& m : messages) {
            std::string date;
            record::appendDateLine(date, view(m));
            // "От" as the list shows a known correspondent: a name and the number.
            rows.push_back({{"Ivan Petrov (" + generator.someNumber() + ")", date,
                             std::to_string(m.text.size()), record::indexLine(view(m)), m.text},
                            position++});
        }
        NullProgress progress;
        const QString path = dir.filePath("baseline.htm");
        if (runExport(defaultTemplate(), rows, {path, ExportFormat::Html, 0, Messages}, progress)
                .failure)
            throw std::runtime_error("cannot write the export");
        bytes = readWholeFile(path).bytes;
    }
};

ExportData& data() {
    static ExportData d;
    return d;
}

void BM_ExportHtml(benchmark::State& state) {
    ExportData& d = data();
    const ExportSettings job{d.dir.filePath("sms.htm"), ExportFormat::Html, 0, Messages};
    NullProgress progress;
    for (auto _ : state) {
        if (runExport(defaultTemplate(), d.rows, job, progress).failure)
            state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(d.bytes.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes.size()));
}

void BM_WriteSameBytesRaw(benchmark::State& state) {
    ExportData& d = data();
    const QString path = d.dir.filePath("raw.htm");
    for (auto _ : state) {
        if (writeWholeFile(path, d.bytes))
            state.SkipWithError("write failed");
    }
    state.counters["bytes"] = static_cast<double>(d.bytes.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * d.bytes.size()));
}

} // namespace

BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_WriteSameBytesRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

BENCHMARK_MAIN();
