// The archive at the sizes a heavy user reaches: loading three folders of
// 100 000 records, merging a phone read into a large Inbox, and naming the
// correspondents of a full list. Each figure stands next to a baseline
// measured in the same run (the files' raw bytes, the Inbox load).
#include "support/ArchiveGenerator.h"

#include "archive/ArchiveFiles.h"
#include "archive/FolderTree.h"
#include "core/FileStore.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace qb;
using namespace qb::bench;

namespace {

constexpr int FullFolder = 100000;

// Three full folders and a phonebook, generated once per run.
struct FullArchive {
    QTemporaryDir dir;
    GeneratedArchive data;
    FullArchive() { data = writeArchive(dir.path(), FullFolder, FullFolder, FullFolder); }
};

FullArchive& fullArchive() {
    static FullArchive archive;
    return archive;
}

// An Inbox of `records` records alone, with its file content kept for restoring.
struct InboxOnly {
    QTemporaryDir dir;
    std::vector<Message> messages;
    std::string content;
    QString path;
    explicit InboxOnly(int records) {
        ArchiveGenerator generator({.seed = static_cast<std::uint32_t>(records)});
        messages = generator.messages(FolderKind::Inbox, records);
        content = folderContent(FolderKind::Inbox, messages);
        path = joinPath(dir.path(), folderFileName(FolderKind::Inbox));
        restore();
    }
    void restore() const {
        if (writeWholeFile(path, content))
            throw std::runtime_error("cannot write the Inbox");
    }
};

InboxOnly& inboxOnly(int records) {
    static std::map<int, std::unique_ptr<InboxOnly>> inboxes;
    auto& inbox = inboxes[records];
    if (!inbox)
        inbox = std::make_unique<InboxOnly>(records);
    return *inbox;
}

// The bytes the process holds in memory now, after handing what it freed back to the system.
double residentBytes() {
    ::malloc_trim(0);
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

double folderFilesBytes(const QString& dir) {
    double bytes = 0;
    for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
        bytes += static_cast<double>(QFileInfo(resolveInDir(dir, folderFileName(kind))).size());
    return bytes;
}

// The baseline the loads are measured against: the three files' bytes read
// whole, each into a buffer the allocator hands out again from the last round.
void BM_ReadRawBytes_ThreeFolders(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    for (auto _ : state) {
        for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft}) {
            const FileRead file = readWholeFile(resolveInDir(dir, folderFileName(kind)));
            benchmark::DoNotOptimize(file.bytes.data());
        }
    }
}
BENCHMARK(BM_ReadRawBytes_ThreeFolders)->Unit(benchmark::kMillisecond);

// The same into memory the process has not touched yet, as at start-up: the
// buffers are given back to the system between rounds.
void BM_ReadRawBytes_ThreeFolders_Cold(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    for (auto _ : state) {
        std::vector<FileRead> files;
        for (const FolderKind kind : {FolderKind::Inbox, FolderKind::Outbox, FolderKind::Draft})
            files.push_back(readWholeFile(resolveInDir(dir, folderFileName(kind))));
        benchmark::DoNotOptimize(files.back().bytes.data());
        state.PauseTiming();
        files.clear();
        ::malloc_trim(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadRawBytes_ThreeFolders_Cold)->Unit(benchmark::kMillisecond);

// A reload over the archive already in memory, as after every phone read.
void BM_ReloadArchive_ThreeFolders(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    Archive archive;
    reloadArchive(dir, archive);
    for (auto _ : state) {
        if (reloadArchive(dir, archive))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(archive.draft.count());
    }
    state.counters["records"] =
        archive.inbox.count() + archive.outbox.count() + archive.draft.count();
}
BENCHMARK(BM_ReloadArchive_ThreeFolders)->Unit(benchmark::kMillisecond);

// Start-up: nothing loaded yet, in memory the process has not touched. Also
// what the loaded archive keeps resident, against the files' size.
void BM_ReloadArchive_ThreeFolders_Cold(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    double resident = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = residentBytes();
        state.ResumeTiming();
        auto archive = std::make_unique<Archive>();
        if (reloadArchive(dir, *archive))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(archive->draft.count());
        state.PauseTiming();
        resident = residentBytes() - before;
        archive.reset();
        ::malloc_trim(0);
        state.ResumeTiming();
    }
    const double files = folderFilesBytes(dir);
    state.counters["resident_MB"] = resident / 1e6;
    state.counters["files_MB"] = files / 1e6;
    state.counters["resident_per_file_byte"] = resident / files;
}
BENCHMARK(BM_ReloadArchive_ThreeFolders_Cold)->Unit(benchmark::kMillisecond);

void BM_ReloadArchive_Inbox(benchmark::State& state) {
    const InboxOnly& inbox = inboxOnly(static_cast<int>(state.range(0)));
    Archive archive;
    reloadArchive(inbox.dir.path(), archive); // measured warm, as after a phone read
    for (auto _ : state) {
        if (reloadArchive(inbox.dir.path(), archive))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(archive.inbox.count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReloadArchive_Inbox)
    ->Arg(FullFolder)
    ->Arg(2 * FullFolder)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ReadRawBytes_Inbox(benchmark::State& state) {
    const InboxOnly& inbox = inboxOnly(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const FileRead file = readWholeFile(inbox.path);
        benchmark::DoNotOptimize(file.bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(inbox.content.size());
}
BENCHMARK(BM_ReadRawBytes_Inbox)
    ->Arg(FullFolder)
    ->Arg(2 * FullFolder)
    ->Unit(benchmark::kMillisecond);

// A phone read of 1 000 Inbox messages, half of them archived already, merged
// into an Inbox of range(0) records; the file is restored between iterations.
void BM_MergeReadResult_1000IntoInbox(benchmark::State& state) {
    const InboxOnly& inbox = inboxOnly(static_cast<int>(state.range(0)));
    ArchiveGenerator generator({.seed = 99});
    const ReadResult read =
        readResultWithArchived(generator, FolderKind::Inbox, inbox.messages, 1000, 0.5);
    for (auto _ : state) {
        state.PauseTiming();
        inbox.restore();
        state.ResumeTiming();
        if (mergeReadResult(inbox.dir.path(), read))
            state.SkipWithError("merge failed");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MergeReadResult_1000IntoInbox)
    ->Arg(FullFolder)
    ->Arg(2 * FullFolder)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Names for a full list: the index is built from the phonebook, then every row's
// correspondent is looked up.
void BM_LookupName_100000Rows_5000Entries(benchmark::State& state) {
    ArchiveGenerator generator({.seed = 7});
    const Phonebook phonebook = generator.phonebook();
    std::vector<std::string> numbers;
    for (int i = 0; i < FullFolder; ++i)
        numbers.push_back(generator.someNumber());
    std::size_t found = 0;
    for (auto _ : state) {
        const NameIndex names(phonebook);
        found = 0;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const FolderKind kind = i % 3 == 0 ? FolderKind::Outbox : FolderKind::Inbox;
            found += names.lookupName(numbers[i], kind).has_value();
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["named"] = static_cast<double>(found);
}
BENCHMARK(BM_LookupName_100000Rows_5000Entries)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
