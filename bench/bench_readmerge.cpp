// A phone read into a large archive, as the window lives it: a real main
// window on the offscreen platform shows an archive Inbox of 200 000 messages
// while a phone answering at once lists 1 000 new received messages. The read
// stores its phonebook and merges (with the syncs) on a worker thread, the
// archive is read again on a worker thread, and the list is filled afresh in
// slices. Reported: the time to the refilled list, and the longest stretch in
// which the window handled no events (a zero-interval timer fires at every
// chance it gets); beside it the merge alone, which the window's thread used to
// wait for.
#include "support/ArchiveGenerator.h"
#include "support/WidgetBenchmarks.h"

#include "archive/FolderTree.h"
#include "models/MessageListModel.h"
#include "reading/PhoneReadJob.h"
#include "tests/reading/ScriptedPhone.h"
#include "ui/FolderTreeWidget.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

namespace {

constexpr int ArchivedInbox = 200000;
constexpr int NewMessages = 1000;
const std::string Listing = "at+mmgl=\"ALL\"";

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Longest stretch without event handling while `done` is false, in
// milliseconds of the wall clock, and the most CPU time the window's thread
// itself spent between two turns: on a loaded machine the first also counts
// the time the thread waited for a core.
class EventGaps {
  public:
    EventGaps() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { mark(); });
    }
    template <typename Done> void measure(Done done) {
        m_clock.start();
        m_last = 0;
        m_lastCpu = threadCpuMs();
        m_timer.start();
        while (!done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        mark();
        m_timer.stop();
    }
    double longest = 0;
    double longestCpu = 0;

  private:
    void mark() {
        const double now = double(m_clock.nsecsElapsed()) / 1e6;
        const double cpu = threadCpuMs();
        longest = std::max(longest, now - m_last);
        longestCpu = std::max(longestCpu, cpu - m_lastCpu);
        m_last = now;
        m_lastCpu = cpu;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_lastCpu = 0;
};

// A phone holding `NewMessages` received messages with indexes from `first`.
void scriptPhone(qb::test::ScriptedPhone& phone, int first) {
    std::string listing;
    for (int index = first; index < first + NewMessages; ++index) {
        listing += "+MMGL: " + std::to_string(index) + ", \"REC READ\", \"+7916" +
                   std::to_string(1000000 + index % 500) + "\"\r\n" +
                   qb::test::ucs2("Message " + std::to_string(index) + ": see you at seven") +
                   "\r\n";
        phone.answer("AT+CMGR=" + std::to_string(index),
                     "+CMGR: \"REC READ\", \"+79161234567\", \"2008/3/4,9:5:3\"\r\nOK\r\n");
    }
    phone.answer(Listing, listing + "OK\r\n");
    phone.answer("AT+CPBR=?", "+CPBR: (1-250),50,14\r\nOK\r\n");
    phone.answer("at+cpbr=1,250", "OK\r\n");
}

struct Setup {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;
    qb::test::ScriptedPhone phone;
    int nextIndex = 1;

    Setup() {
        qb::bench::writeArchive(dir.path(), ArchivedInbox, 0, 0, {.phonebookEntries = 5000});
        form = std::make_unique<MainWindow>(dir.path());
        form->show();
        idle();
        form->folderTree()->setCurrentItem(form->node(qb::TreeNode::ArchiveInbox));
        form->showFolder(qb::TreeNode::ArchiveInbox);
        idle();
    }
    void idle() {
        while (form->isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
    }

    // The read as the phone controller runs it: the job's values taken on the
    // window's thread, then the archive read again, then the list refilled.
    void read() {
        scriptPhone(phone, nextIndex);
        nextIndex += NewMessages;
        qb::Workspace& workspace = form->workspace();
        auto* job = new qb::PhoneReadJob(
            {&phone, workspace.readResult, workspace.phonebook, workspace.workDir});
        form->commandState().run(job, [this, &workspace](qb::Job& done) {
            const qb::ReadOutcome& outcome = static_cast<qb::PhoneReadJob&>(done).outcome();
            if (outcome.read)
                workspace.readResult = *outcome.read;
            form->reloadArchive();
        });
    }
};

Setup& setup() {
    static Setup once;
    return once;
}

void BM_ReadIntoALargeArchive(benchmark::State& state) {
    Setup& s = setup();
    EventGaps gaps;
    for (auto _ : state) {
        gaps.measure([&s, started = false]() mutable {
            if (!started) {
                started = true;
                s.read();
            }
            return !s.form->isBusy();
        });
    }
    const int rows = s.form->messageModel()->rowCount();
    if (rows != ArchivedInbox + int(state.iterations()) * NewMessages)
        state.SkipWithError("the refilled list does not hold every message");
    state.counters["rows"] = rows;
    state.counters["longest_event_gap_ms"] = gaps.longest;
    state.counters["longest_gap_cpu_ms"] = gaps.longestCpu;
}
BENCHMARK(BM_ReadIntoALargeArchive)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// What the window's thread used to wait for: the phonebook and the merge of
// 1 000 new messages into the 200 000, with their syncs.
void BM_StoreReadAlone(benchmark::State& state) {
    QTemporaryDir dir;
    qb::bench::ArchiveGenerator generator;
    const auto archived = generator.messages(qb::FolderKind::Inbox, ArchivedInbox);
    qb::bench::writeArchive(dir.path(), ArchivedInbox, 0, 0);
    for (auto _ : state) {
        state.PauseTiming();
        const qb::ReadResult read = qb::bench::readResultWithArchived(
            generator, qb::FolderKind::Inbox, archived, NewMessages, 0.5);
        state.ResumeTiming();
        if (qb::storePhoneRead(dir.path(), read, std::nullopt, {}))
            state.SkipWithError("the merge failed");
    }
}
BENCHMARK(BM_StoreReadAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
