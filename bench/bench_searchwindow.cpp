// Search as you type in the real main window on the offscreen platform, over
// an archive of 300 000 messages (100 000 per folder): "позвони завтра"
// typed a key every 60 ms, as a quick typist does. Each keystroke starts a
// scan off the window's thread and stops the one before; the results replace
// the list. Reported: how long the window went without handling its events
// from the first key to the list showing the last key's results, and the
// time from the last key to that list; and the same stretch while the
// archive's folders are copied and prepared for the search again.
#include "support/ArchiveGenerator.h"
#include "support/EventGaps.h"
#include "support/WidgetBenchmarks.h"
#include "support/WindowProgram.h"

#include "controllers/SearchController.h"
#include "models/MessageListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int PerFolder = 100000;
constexpr int KeyInterval = 60; // ms

struct Setup {
    QTemporaryDir dir;
    std::unique_ptr<qb::bench::WindowProgram> program;

    Setup() {
        qb::bench::writeArchive(dir.path(), PerFolder, PerFolder, PerFolder, {});
        program = std::make_unique<qb::bench::WindowProgram>(dir.path());
        program->waitSettled();
        // The folders are copied and prepared for the search once, after the load.
        while (!program->app().search().isPrepared())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
};

Setup& setup() {
    static Setup once;
    return once;
}

void BM_TypeIntoTheSearchField(benchmark::State& state) {
    Setup& s = setup();
    qb::Application& app = s.program->app();
    const QString typed = QStringLiteral("позвони завтра");
    qb::bench::EventGaps gaps;
    double lastKeyToList = 0;
    int found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        app.endSearch();
        s.program->waitSettled();
        state.ResumeTiming();
        QElapsedTimer sinceLastKey;
        bool lastKeyTyped = false;
        gaps.measure(
            [&] {
                for (int key = 1; key <= typed.size(); ++key)
                    QTimer::singleShot(key * KeyInterval, &app, [&, key] {
                        app.searchFor(typed.left(key));
                        if (key == typed.size()) {
                            lastKeyTyped = true;
                            sinceLastKey.start();
                        }
                    });
            },
            [&] {
                // Done once the list shows the whole text's results.
                const std::vector<QString>& terms = app.search().query().terms;
                return lastKeyTyped && app.list().listing() == qb::Listing::Results &&
                       s.program->settled() && terms.size() == 2 &&
                       terms[1] == QStringLiteral("завтра");
            });
        lastKeyToList = std::max(lastKeyToList, double(sinceLastKey.nsecsElapsed()) / 1e6);
        found = app.list().model().rowCount();
    }
    if (found == 0)
        state.SkipWithError("nothing found");
    state.counters["messages"] = 3 * PerFolder;
    state.counters["found"] = found;
    state.counters["longest_event_gap_ms"] = gaps.longest;
    state.counters["longest_gap_cpu_ms"] = gaps.longestCpu;
    state.counters["last_key_to_list_ms"] = lastKeyToList;
}
BENCHMARK(BM_TypeIntoTheSearchField)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The archive changed (a read, an import): its three folders are copied on
// the window's thread, one per turn of the event loop, and prepared off it.
void BM_PrepareTheArchiveAgain(benchmark::State& state) {
    Setup& s = setup();
    qb::SearchController& search = s.program->app().search();
    qb::bench::EventGaps gaps;
    for (auto _ : state)
        gaps.measure([&search] { search.archiveFoldersChanged(); },
                     [&search] { return search.isPrepared(); });
    state.counters["messages"] = 3 * PerFolder;
    state.counters["longest_event_gap_ms"] = gaps.longest;
    state.counters["longest_gap_cpu_ms"] = gaps.longestCpu;
}
BENCHMARK(BM_PrepareTheArchiveAgain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
