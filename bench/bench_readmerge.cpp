// A phone read into a large archive, as the window lives it: a real main
// window on the offscreen platform shows an archive Inbox of 200 000 messages
// while a phone answering at once lists 1 000 new received messages. The read
// stores its phonebook and merges (with the syncs) on a worker thread, the
// archive is read again on a worker thread, and the list shows the Inbox
// afresh. Reported: the time to the refilled list, and the longest stretch in
// which the window handled no events (a zero-interval timer fires at every
// chance it gets); beside it the merge alone, which the window's thread used to
// wait for.
#include "support/ArchiveGenerator.h"
#include "support/EventGaps.h"
#include "support/WidgetBenchmarks.h"
#include "support/WindowProgram.h"

#include "archive/FolderTree.h"
#include "controllers/ArchiveController.h"
#include "models/MessageListModel.h"
#include "reading/PhoneReadJob.h"
#include "tests/reading/ScriptedPhone.h"

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

// A phone holding `NewMessages` received messages with indexes from `first`.
void scriptPhone(qb::test::ScriptedPhone& phone, int first) {
    std::string listing;
    for (int index = first; index < first + NewMessages; ++index) {
        // The message's own header: a reply naming another one is refused.
        const std::string number = "+7916" + std::to_string(1000000 + index % 500);
        listing += "+MMGL: " + std::to_string(index) + ", \"REC READ\", \"" + number + "\"\r\n" +
                   qb::test::ucs2("Message " + std::to_string(index) + ": see you at seven") +
                   "\r\n";
        phone.answer("AT+CMGR=" + std::to_string(index),
                     "+CMGR: \"REC READ\", \"" + number + "\", \"2008/3/4,9:5:3\"\r\nOK\r\n");
    }
    phone.answer(Listing, listing + "OK\r\n");
    phone.answer("AT+CPBR=?", "+CPBR: (1-250),50,14\r\nOK\r\n");
    phone.answer("at+cpbr=1,250", "OK\r\n");
}

struct Setup {
    QTemporaryDir dir;
    std::unique_ptr<qb::bench::WindowProgram> program;
    qb::test::ScriptedPhone phone;
    int nextIndex = 1;

    Setup() {
        qb::bench::writeArchive(dir.path(), ArchivedInbox, 0, 0, {.phonebookEntries = 5000});
        program = std::make_unique<qb::bench::WindowProgram>(dir.path());
        program->choose(qb::TreeNode::ArchiveInbox);
        program->waitSettled();
    }

    // The read as the phone controller runs it: the job's values taken on the
    // window's thread, then the archive read again, then the list refilled.
    void read() {
        scriptPhone(phone, nextIndex);
        nextIndex += NewMessages;
        qb::Application& app = program->app();
        qb::Workspace& workspace = app.workspace();
        app.commands().run(
            std::make_unique<qb::PhoneReadJob>(qb::ReadContext{
                &phone, workspace.readResult, workspace.phonebook, workspace.workDir}),
            [&app](qb::PhoneReadJob& job) {
                if (job.outcome().read)
                    app.workspace().readResult = *job.outcome().read;
                app.archive().reloadArchive();
            });
    }
};

Setup& setup() {
    static Setup once;
    return once;
}

void BM_ReadIntoALargeArchive(benchmark::State& state) {
    Setup& s = setup();
    qb::bench::EventGaps gaps;
    for (auto _ : state) {
        gaps.measure([&s] { s.read(); }, [&s] { return s.program->settled(); });
        QCoreApplication::processEvents(); // the rows painted
    }
    const int rows = s.program->app().list().model().rowCount();
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
