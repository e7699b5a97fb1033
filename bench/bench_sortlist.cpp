// Sorting a full message list of 100 000 rows by each column, as a header
// click does it in the real main window on the offscreen platform: the rows'
// cells built and sorted on a worker thread, then the rows moved, the marks
// and the stored column, and the view shown again; beside it how long the
// window went without its events meanwhile, and the keys and sort alone.
#include "models/ColumnSort.h"
#include "models/MessageListModel.h"

#include "support/ArchiveGenerator.h"
#include "support/EventGaps.h"
#include "support/WidgetBenchmarks.h"
#include "support/WindowProgram.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

using qb::MessageListModel;
using qb::MessageRow;

constexpr int FullList = 100000;

// Rows as a received folder shows them: texts of up to 160 characters in
// Russian and Latin, 5 000 correspondents, dates over five years, indexes 1..n.
std::vector<MessageRow> receivedRows() {
    std::mt19937 random(20260101);
    const QString letters = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУ"
                                           "abcdefghijklmnopqrstuvwxyz ABCDEF0123456789 .,!?");
    std::vector<QString> senders;
    for (int i = 0; i < 5000; ++i)
        senders.push_back(i % 3 ? QStringLiteral("Контакт %1 (+7916%2)").arg(i).arg(1000000 + i)
                                : QStringLiteral("+7903%1").arg(2000000 + i));
    std::vector<MessageRow> rows;
    rows.reserve(FullList);
    for (int k = 1; k <= FullList; ++k) {
        MessageRow row;
        const int length = std::uniform_int_distribution<int>(0, 160)(random);
        row.text.reserve(length);
        for (int c = 0; c < length; ++c)
            row.text +=
                letters.at(std::uniform_int_distribution<int>(0, letters.size() - 1)(random));
        row.from =
            senders[std::uniform_int_distribution<std::size_t>(0, senders.size() - 1)(random)];
        row.date = QStringLiteral("%1/%2/%3,%4:%5:%6")
                       .arg(random() % 28 + 1, 2, 10, QLatin1Char('0'))
                       .arg(random() % 12 + 1, 2, 10, QLatin1Char('0'))
                       .arg(2001 + random() % 5)
                       .arg(random() % 24, 2, 10, QLatin1Char('0'))
                       .arg(random() % 60, 2, 10, QLatin1Char('0'))
                       .arg(random() % 60, 2, 10, QLatin1Char('0'));
        row.index = QString::number(k);
        row.size = static_cast<int>(row.text.size());
        row.icon = qb::Icon::InboxRow;
        row.record = k;
        rows.push_back(std::move(row));
    }
    return rows;
}

// The archive Inbox of 100 000 received messages listed in the window, one
// row selected: a selected row follows its row through the sort.
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<qb::bench::WindowProgram> program;

    Window() {
        qb::bench::writeArchive(dir.path(), FullList, 0, 0, {.phonebookEntries = 5000});
        program = std::make_unique<qb::bench::WindowProgram>(dir.path());
        program->choose(qb::TreeNode::ArchiveInbox);
        program->waitSettled();
        qb::ListController& list = program->app().list();
        list.selection().select(list.model().index(FullList / 2, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

Window& window() {
    static Window once;
    return once;
}

void BM_SortByColumn(benchmark::State& state) {
    Window& w = window();
    const int column = static_cast<int>(state.range(0));
    qb::bench::EventGaps gaps;
    for (auto _ : state) {
        gaps.measure([&w, column] { w.program->app().list().sortByColumn(column); },
                     [&w] { return w.program->settled(); });
        QCoreApplication::processEvents(); // the view shows the sorted rows
    }
    if (w.program->app().list().model().sortMark(column) == MessageListModel::NoMark)
        state.SkipWithError("the list was not sorted");
    state.counters["rows"] = FullList;
    state.counters["longest_event_gap_ms"] = gaps.longest;
    state.counters["longest_gap_cpu_ms"] = gaps.longestCpu;
}
BENCHMARK(BM_SortByColumn)
    ->ArgName("column")
    ->DenseRange(0, MessageListModel::SortableColumnCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(6);

struct Rows {
    std::vector<MessageRow> rows = receivedRows();
};

// The comparison keys and the stable sort alone, without the model and view.
void BM_SortOrderOnly(benchmark::State& state) {
    static const Rows s;
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(qb::sortOrder(s.rows, column, qb::SortDirection::Ascending));
}
BENCHMARK(BM_SortOrderOnly)
    ->ArgName("column")
    ->DenseRange(0, MessageListModel::SortableColumnCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
