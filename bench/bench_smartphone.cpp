// The archive to Android's SMS backup XML: 100 000 archived messages (the
// archive already loaded, as the command line and the menu item load it),
// against writing the same number of bytes raw, side by side.
#include "support/ArchiveGenerator.h"

#include "archive/ArchiveFiles.h"
#include "core/FileStore.h"
#include "export/smartphone/AndroidSmsXml.h"
#include "export/smartphone/SmartphoneExport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace qb;
using namespace qb::bench;

namespace {

constexpr int Messages = 100000;

struct Loaded {
    QTemporaryDir dir;
    Archive archive;
    Phonebook phonebook;
    std::size_t xmlBytes = 0;
    Loaded() {
        writeArchive(dir.path(), 60000, 30000, 10000);
        if (reloadArchive(dir.path(), archive) || loadPhonebook(dir.path(), phonebook))
            throw std::runtime_error("cannot load the generated archive");
        xmlBytes = androidSmsXml(archive, phonebook).xml.size();
    }
};

Loaded& loaded() {
    static Loaded once;
    return once;
}

void BM_AndroidXml_100000(benchmark::State& state) {
    Loaded& l = loaded();
    const QString path = joinPath(l.dir.path(), SmsBackupFileName);
    int estimated = 0;
    for (auto _ : state) {
        const AndroidSmsXml out = androidSmsXml(l.archive, l.phonebook);
        if (out.messages + out.withoutAddress != Messages || writeWholeFile(path, out.xml))
            state.SkipWithError("the export did not write every message");
        estimated = out.estimated;
    }
    state.counters["bytes"] = double(l.xmlBytes);
    state.counters["estimated"] = estimated;
}
BENCHMARK(BM_AndroidXml_100000)->Unit(benchmark::kMillisecond);

void BM_WriteRawBytes_SameSize(benchmark::State& state) {
    Loaded& l = loaded();
    const std::string bytes(l.xmlBytes, 'x');
    const QString path = joinPath(l.dir.path(), QStringLiteral("raw.bin"));
    for (auto _ : state)
        if (writeWholeFile(path, bytes))
            state.SkipWithError("cannot write");
}
BENCHMARK(BM_WriteRawBytes_SameSize)->Unit(benchmark::kMillisecond);

// The whole command as the user runs it: load the archive and phonebook, write both files.
void BM_ExportForSmartphone_100000(benchmark::State& state) {
    Loaded& l = loaded();
    QTemporaryDir target;
    for (auto _ : state)
        if (exportForSmartphone(l.dir.path(), target.path()).failure)
            state.SkipWithError("the export failed");
}
BENCHMARK(BM_ExportForSmartphone_100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
