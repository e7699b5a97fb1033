// The archive at the sizes a heavy user reaches: loading three folders of
// 100 000 records, merging a phone read into a large Inbox, and naming the
// correspondents of a full list. Each figure stands next to a baseline
// measured in the same run (the files' raw bytes, the Inbox load).
#include "support/ArchiveGenerator.h"

#include "archive/ArchiveFiles.h"
#include "archive/FolderTree.h"
#include "core/FileStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

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

// A reload over the archive already in memory, as after every phone read.
void BM_ReloadArchive_ThreeFolders(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    Archive archive;
    for (auto _ : state) {
        if (reloadArchive(dir, archive))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(archive.draft.count());
    }
    state.counters["records"] =
        archive.inbox.count() + archive.outbox.count() + archive.draft.count();
}
BENCHMARK(BM_ReloadArchive_ThreeFolders)->Unit(benchmark::kMillisecond);

// Start-up: nothing loaded yet, every text allocated afresh.
void BM_ReloadArchive_ThreeFolders_Cold(benchmark::State& state) {
    const QString dir = fullArchive().dir.path();
    for (auto _ : state) {
        auto archive = std::make_unique<Archive>();
        if (reloadArchive(dir, *archive))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(archive->draft.count());
        state.PauseTiming();
        archive.reset();
        state.ResumeTiming();
    }
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
