// Sorting a full message list of 100 000 rows by each column, as a header
// click does it: the comparison keys, the stable sort, moving the rows, the
// stored column, and the view shown again, on the offscreen platform.
#include "models/ColumnSort.h"
#include "models/ColumnSorter.h"
#include "models/MessageListModel.h"
#include "models/SettingsStore.h"

#include "support/WidgetBenchmarks.h"

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

struct Setup {
    QTemporaryDir dir;
    qb::SettingsStore store{dir.filePath(QStringLiteral("bench.conf"))};
    MessageListModel model;
    QTableView view;
    qb::ColumnSorter sorter{model, store};
    std::vector<MessageRow> rows = receivedRows();

    Setup() {
        view.setModel(&model);
        view.verticalHeader()->setDefaultSectionSize(17);
        view.resize(870, 400);
        view.show();
        QCoreApplication::processEvents();
    }
    void refill() {
        model.clear();
        model.append(std::vector<MessageRow>(rows));
        view.selectRow(FullList / 2); // a selected row follows its row through the sort
        QCoreApplication::processEvents();
    }
};

Setup& setup() {
    static Setup once;
    return once;
}

void BM_SortByColumn(benchmark::State& state) {
    Setup& s = setup();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        s.refill();
        state.ResumeTiming();
        if (s.sorter.sortByColumn(column))
            state.SkipWithError("a cell is no number");
        QCoreApplication::processEvents(); // the view shows the sorted rows
    }
    state.counters["rows"] = FullList;
}
BENCHMARK(BM_SortByColumn)
    ->ArgName("column")
    ->DenseRange(0, MessageListModel::ColumnCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

// The comparison keys and the stable sort alone, without the model and view.
void BM_SortOrderOnly(benchmark::State& state) {
    Setup& s = setup();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(qb::sortOrder(s.rows, column, qb::SortDirection::Ascending));
}
BENCHMARK(BM_SortOrderOnly)
    ->ArgName("column")
    ->DenseRange(0, MessageListModel::ColumnCount - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

} // namespace

int main(int argc, char** argv) {
    return qb::bench::runWidgetBenchmarks(argc, argv);
}
