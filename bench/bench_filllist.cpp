// Listing a full archive folder: 100 000 received messages named from a
// 5 000-entry phonebook, in the real main window on the offscreen platform.
// The list holds a copy of the folder's messages and builds the rows it
// paints when it paints them; a remembered sort column is applied on a worker
// thread first. Reported: the time until the list shows the folder (sorted,
// painted), how long the window went without handling its events meanwhile,
// and what the listed folder costs in memory.
#include "support/ArchiveGenerator.h"
#include "support/EventGaps.h"
#include "support/WidgetBenchmarks.h"
#include "support/WindowProgram.h"

#include "archive/FolderTree.h"
#include "models/MessageListModel.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

constexpr int FullFolder = 100000;

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct Setup {
    QTemporaryDir dir;
    std::unique_ptr<qb::bench::WindowProgram> program;
    double listedMegabytes = 0;

    Setup() {
        qb::bench::writeArchive(dir.path(), FullFolder, 0, 0, {.phonebookEntries = 5000});
        program = std::make_unique<qb::bench::WindowProgram>(dir.path());
        list(qb::TreeNode::Archive);
        const double before = residentMegabytes();
        list(qb::TreeNode::ArchiveInbox);
        listedMegabytes = residentMegabytes() - before;
    }
    void list(qb::TreeNode node) {
        program->choose(node);
        program->waitSettled();
    }
    int rows() { return program->app().list().model().rowCount(); }
};

Setup& setup() {
    static Setup once;
    return once;
}

// `sorted`: with a sort column remembered from an earlier header click.
void listInbox(benchmark::State& state, bool sorted) {
    Setup& s = setup();
    if (sorted) {
        s.program->app().list().sortByColumn(qb::MessageListModel::FromColumn);
        s.program->waitSettled();
    }
    qb::bench::EventGaps gaps;
    for (auto _ : state) {
        state.PauseTiming();
        s.list(qb::TreeNode::Archive);
        state.ResumeTiming();
        gaps.measure([&s] { s.program->choose(qb::TreeNode::ArchiveInbox); },
                     [&s] { return s.program->settled(); });
        QCoreApplication::processEvents(); // the rows painted
    }
    if (s.rows() != FullFolder)
        state.SkipWithError("the list does not hold every message");
    state.counters["rows"] = FullFolder;
    state.counters["longest_event_gap_ms"] = gaps.longest;
    state.counters["longest_gap_cpu_ms"] = gaps.longestCpu;
    state.counters["listed_MB"] = s.listedMegabytes;
}

void BM_ListFolder(benchmark::State& state) {
    listInbox(state, false);
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ListFolderSortedByFrom(benchmark::State& state) {
    listInbox(state, true);
}
BENCHMARK(BM_ListFolderSortedByFrom)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
