// Listing a full archive folder: 100 000 received messages named from a
// 5 000-entry phonebook, in the real main window on the offscreen platform.
// The fill runs in slices on the window's event loop; besides the time to the
// last row shown, it reports how long the window went without handling its
// events (a zero-interval timer fires at every chance the fill gives it) and
// what the rows cost in memory.
#include "support/ArchiveGenerator.h"
#include "support/WidgetBenchmarks.h"

#include "archive/FolderTree.h"
#include "models/MessageListModel.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
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

// Longest stretch without event handling while `work` runs, in milliseconds.
class EventGaps {
  public:
    EventGaps() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { mark(); });
    }
    template <typename Work> double measure(Work work) {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
        work();
        mark();
        m_timer.stop();
        return m_longest;
    }

  private:
    void mark() {
        const double now = double(m_clock.nsecsElapsed()) / 1e6;
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

struct Setup {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;
    double rowsMegabytes = 0;

    Setup() {
        qb::bench::writeArchive(dir.path(), FullFolder, 0, 0, {.phonebookEntries = 5000});
        form = std::make_unique<MainWindow>(dir.path());
        form->show();
        QCoreApplication::processEvents();
        choose(qb::TreeNode::Archive);
        const double before = residentMegabytes();
        choose(qb::TreeNode::ArchiveInbox);
        rowsMegabytes = residentMegabytes() - before;
    }

    // Lists a node and runs the event loop until the last row is shown.
    void choose(qb::TreeNode node) {
        form->folderTree()->setCurrentItem(form->node(node));
        form->showFolder(node);
        while (form->isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents(); // the rows shown
    }
};

Setup& setup() {
    static Setup once;
    return once;
}

void BM_FillList(benchmark::State& state) {
    Setup& s = setup();
    EventGaps gaps;
    double longestGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.choose(qb::TreeNode::Archive);
        state.ResumeTiming();
        longestGap =
            std::max(longestGap, gaps.measure([&] { s.choose(qb::TreeNode::ArchiveInbox); }));
    }
    if (s.form->messageModel()->rowCount() != FullFolder)
        state.SkipWithError("the list does not hold every message");
    state.counters["rows"] = FullFolder;
    state.counters["longest_event_gap_ms"] = longestGap;
    state.counters["rows_MB"] = s.rowsMegabytes;
}
BENCHMARK(BM_FillList)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
