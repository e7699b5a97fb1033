// Changing a full archive: importing a P2kTools archive of 100 000 lines into
// an Inbox of 100 000 records, and deleting one listed message from a folder
// of 100 000 records with the reload and the list update that follow. The
// import stands next to reading and writing the same bytes raw, in the same run,
// and is measured again as the window runs it, as a job on a worker thread.
#include "support/ArchiveGenerator.h"

#include "archive/ArchiveDeletion.h"
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveJobs.h"
#include "archive/P2kToolsImport.h"
#include "core/FileStore.h"
#include "models/MessageListModel.h"
#include "models/MessageRows.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace qb;
using namespace qb::bench;

namespace {

constexpr int FullFolder = 100000;

// Runs a job on this thread's event loop as the window does, with a timer
// ticking every millisecond meanwhile; gives the longest stretch between two
// ticks, i.e. how long the window would have gone without its events.
double runJobWithTicks(Job& job) {
    using Clock = std::chrono::steady_clock;
    QEventLoop loop;
    QTimer ticks;
    ticks.setInterval(1);
    auto last = Clock::now();
    double longest = 0;
    const auto mark = [&] {
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    };
    QObject::connect(&ticks, &QTimer::timeout, &loop, mark);
    QObject::connect(&job, &Job::finished, &loop, &QEventLoop::quit);
    ticks.start();
    job.start();
    loop.exec();
    mark();
    return longest;
}

// A P2kTools line as the tool writes it: the phone's year-first date.
std::string p2kToolsLine(const Message& message, const std::string& sender, int i) {
    return sender + ";2006/" + std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28) + "," +
           std::to_string(i % 24) + ":" + std::to_string(i % 60) + ":07;" + message.text + "\r\n";
}

struct ImportSetup {
    QTemporaryDir dir;
    QString inboxPath;
    QString sourcePath;
    std::string inbox;
    std::string source;
    ImportSetup() {
        ArchiveGenerator generator({.seed = 11});
        inbox = folderContent(FolderKind::Inbox, generator.messages(FolderKind::Inbox, FullFolder));
        const auto messages = generator.messages(FolderKind::Inbox, FullFolder);
        for (int i = 0; i < FullFolder; ++i)
            source +=
                p2kToolsLine(messages[static_cast<std::size_t>(i)], generator.someNumber(), i);
        inboxPath = joinPath(dir.path(), folderFileName(FolderKind::Inbox));
        sourcePath = joinPath(dir.path(), QStringLiteral("p2ktools.txt"));
        if (writeWholeFile(sourcePath, source))
            throw std::runtime_error("cannot write the P2kTools archive");
        restoreInbox();
    }
    void restoreInbox() const {
        if (writeWholeFile(inboxPath, inbox))
            throw std::runtime_error("cannot write the Inbox");
    }
};

ImportSetup& importSetup() {
    static ImportSetup once;
    return once;
}

// The floor: the same two files read whole and their bytes written back whole.
void BM_RawReadWrite_ImportBytes(benchmark::State& state) {
    ImportSetup& s = importSetup();
    for (auto _ : state) {
        state.PauseTiming();
        s.restoreInbox();
        state.ResumeTiming();
        FileRead inbox = readWholeFile(s.inboxPath);
        const FileRead source = readWholeFile(s.sourcePath);
        inbox.bytes += source.bytes;
        if (writeWholeFile(s.inboxPath, inbox.bytes))
            state.SkipWithError("write failed");
    }
    state.counters["bytes_in"] = static_cast<double>(s.inbox.size() + s.source.size());
}
BENCHMARK(BM_RawReadWrite_ImportBytes)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportP2kTools_100000LinesInto100000(benchmark::State& state) {
    ImportSetup& s = importSetup();
    for (auto _ : state) {
        state.PauseTiming();
        s.restoreInbox();
        NullProgress progress;
        state.ResumeTiming();
        if (importP2kToolsArchive(s.dir.path(), s.sourcePath, progress))
            state.SkipWithError("import failed");
    }
    Archive archive;
    reloadArchive(s.dir.path(), archive);
    if (archive.inbox.count() != 2 * FullFolder)
        state.SkipWithError("the Inbox does not hold every message");
}
BENCHMARK(BM_ImportP2kTools_100000LinesInto100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// As the window runs it: the import and the reload on a worker thread, the
// event loop turning meanwhile.
void BM_ImportJob_100000LinesInto100000_WithReload(benchmark::State& state) {
    ImportSetup& s = importSetup();
    double longestGap = 0;
    int records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.restoreInbox();
        ImportJob job(s.dir.path(), s.sourcePath);
        state.ResumeTiming();
        longestGap = std::max(longestGap, runJobWithTicks(job));
        if (job.failure())
            state.SkipWithError("import failed");
        records = job.takeReload().archive.inbox.count();
    }
    if (records != 2 * FullFolder)
        state.SkipWithError("the Inbox does not hold every message");
    state.counters["longest_event_gap_ms"] = longestGap;
}
BENCHMARK(BM_ImportJob_100000LinesInto100000_WithReload)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Three full folders, as after years of use; the list shows the Outbox.
struct DeleteSetup {
    QTemporaryDir dir;
    std::string outbox;
    QString outboxPath;
    Archive archive;
    std::shared_ptr<const FolderRows> rows;
    MessageListModel list;
    DeleteSetup() {
        const GeneratedArchive data = writeArchive(dir.path(), FullFolder, FullFolder, FullFolder);
        outbox = folderContent(FolderKind::Outbox, data.outbox);
        outboxPath = joinPath(dir.path(), folderFileName(FolderKind::Outbox));
        reloadArchive(dir.path(), archive);
        rows = FolderRows::ofArchive(TreeNode::ArchiveOutbox, archive.outbox, data.phonebook);
    }
    void restore() {
        if (writeWholeFile(outboxPath, outbox))
            throw std::runtime_error("cannot write the Outbox");
        reloadArchive(dir.path(), archive);
        list.show(rows, MessageListModel::folderOrder(*rows));
    }
};

// One selected row, in the middle of the list: the file rewritten, the whole
// archive reloaded (as the window does), the row taken out of the list.
void BM_DeleteOneRow_100000Outbox_WithReload(benchmark::State& state) {
    static DeleteSetup s;
    for (auto _ : state) {
        state.PauseTiming();
        s.restore();
        NullProgress progress;
        state.ResumeTiming();
        const int k = FullFolder / 2;
        if (deleteArchiveRecords(s.dir.path(), FolderKind::Outbox,
                                 {{k, toMessage(s.archive.outbox.message(k - 1))}}, progress) ||
            reloadArchive(s.dir.path(), s.archive))
            state.SkipWithError("deletion failed");
        s.list.removeRecords({FullFolder / 2});
    }
    if (s.archive.outbox.count() != FullFolder - 1 || s.list.rowCount() != FullFolder - 1)
        state.SkipWithError("not exactly one message deleted");
}
BENCHMARK(BM_DeleteOneRow_100000Outbox_WithReload)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
