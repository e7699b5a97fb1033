// Search as you type over 300 000 messages: what one keystroke costs, from
// the typed text to the list of matching messages, for a word typed letter by
// letter and deleted again, for the kinds of query users type, and through the
// runner that scans off the window's thread.
#include "search/SearchIndex.h"
#include "search/SearchRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace qb;

constexpr int Messages = 300000;

// Texts of 1 to 160 characters in Russian (three in four) or Latin words,
// as the archive's generator makes them; names from a phonebook; numbers in
// the forms the phone stores.
class Documents {
  public:
    Documents() {
        russian = words("привет как дела где ты буду через минут позвони мне пожалуйста завтра "
                        "сегодня вечером утром встреча дома работа купи хлеба молока спасибо "
                        "хорошо ладно жду опаздываю пробки на дороге с днём рождения поздравляю "
                        "целую обнимаю скоро буду ваш баланс составляет руб пополните счёт код "
                        "подтверждения никому не сообщайте ёлка № 5 встречаемся у метро в кино "
                        "билеты уже есть!");
        latin = words("hi ok see you at the office call me later meeting moved to pm thanks "
                      "your code is balance top up SMS info Motorola RAZR V3 love you good night");
        names = words("Аня Борис Вера Глеб Дарья Егор Женя Зоя Иван Катя Лёша Маша Никита Оля "
                      "Павел Рита Сергей Таня Юра Яна Мама Папа Бабушка Работа Такси");
        for (int k = 0; k < 500; ++k) {
            const QString digits = QString::number(9000000000LL + uniform(0, 999999999));
            numbers.push_back(k % 3 ? QStringLiteral("+7") + digits
                                    : QStringLiteral("8 %1 %2-%3-%4")
                                          .arg(digits.left(3), digits.mid(3, 3), digits.mid(6, 2),
                                               digits.mid(8)));
        }
    }

    struct Document {
        QString text, number, name;
    };
    // Three folders as the archive holds them: Inbox, Outbox, Draft.
    std::vector<std::vector<Document>> folders() {
        std::vector<std::vector<Document>> out;
        for (const int size : {Messages / 2, Messages * 3 / 10, Messages / 5}) {
            std::vector<Document>& folder = out.emplace_back();
            for (int k = 0; k < size; ++k) {
                const std::size_t who = std::size_t(uniform(0, int(numbers.size()) - 1));
                // Most correspondents are in the phonebook.
                const QString name = who % 5 ? names[who % names.size()] : QString();
                folder.push_back({text(), numbers[who], name});
                // Now and then a character the archive's code page lacks,
                // from a phone that sent UCS2.
                if (uniform(0, 499) == 0)
                    folder.back().text += QStringLiteral(" 🙂");
            }
        }
        return out;
    }

  private:
    static std::vector<QString> words(const char* utf8) {
        std::vector<QString> out;
        for (const QString& w : QString::fromUtf8(utf8).split(u' ', Qt::SkipEmptyParts))
            out.push_back(w);
        return out;
    }
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

    QString text() {
        const int length = uniform(1, 160);
        const auto& pool = uniform(0, 3) == 0 ? latin : russian;
        QString out;
        while (out.size() < length) {
            if (!out.isEmpty())
                out += u' ';
            QString word = pool[std::size_t(uniform(0, int(pool.size()) - 1))];
            if (uniform(0, 9) == 0)
                word[0] = word[0].toUpper();
            out += word;
        }
        out.truncate(length);
        return out;
    }

    std::mt19937 rng{20260427};
    std::vector<QString> russian, latin, names, numbers;
};

SearchIndex prepare(const std::vector<std::vector<Documents::Document>>& folders) {
    SearchIndex index;
    for (std::size_t folder = 0; folder < folders.size(); ++folder) {
        FolderIndexBuilder builder{static_cast<int>(folder)};
        for (const auto& d : folders[folder])
            builder.add(d.text, d.number, d.name);
        index.setFolder(builder.finish());
    }
    return index;
}

const SearchIndex& theIndex() {
    static const SearchIndex index = prepare(Documents().folders());
    return index;
}

// A word typed letter by letter, a second word after it, then every letter
// deleted again down to the first one (an empty field runs no scan: the
// window shows its folder again).
QStringList typingAndClearing() {
    const QString typed = QStringLiteral("позвони завтра");
    QStringList keystrokes;
    for (int n = 1; n <= typed.size(); ++n)
        keystrokes << typed.left(n);
    for (int n = typed.size() - 1; n >= 1; --n)
        keystrokes << typed.left(n);
    return keystrokes;
}

// Done once for the archive and again for a folder that changed, off the
// window's thread.
void BM_PrepareIndex(benchmark::State& state) {
    const auto folders = Documents().folders();
    for (auto _ : state)
        benchmark::DoNotOptimize(prepare(folders));
    state.counters["messages"] = Messages;
    // What the prepared copy holds in memory.
    double bytes = 0;
    for (std::size_t folder = 0; folder < folders.size(); ++folder) {
        FolderIndexBuilder builder{static_cast<int>(folder)};
        for (const auto& d : folders[folder])
            builder.add(d.text, d.number, d.name);
        const auto prepared = builder.finish();
        for (const auto* part : {&prepared->compact, &prepared->wide})
            bytes += double(part->bytes.capacity() + 2 * part->units.capacity() +
                            sizeof(std::size_t) * part->starts.capacity() +
                            sizeof(int) * part->positions.capacity());
    }
    state.counters["index_mb"] = bytes / 1e6;
}
BENCHMARK(BM_PrepareIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every keystroke's scan, one after another; the figures are per keystroke.
void BM_TypeWordAndClear(benchmark::State& state) {
    const SearchIndex& index = theIndex();
    const QStringList keystrokes = typingAndClearing();
    double longest = 0;
    double total = 0;
    std::size_t count = 0;
    for (auto _ : state) {
        for (const QString& typed : keystrokes) {
            QElapsedTimer timer;
            timer.start();
            const auto hits = index.find(parseSearchQuery(typed));
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            benchmark::DoNotOptimize(hits.data());
            longest = std::max(longest, ms);
            total += ms;
            ++count;
        }
    }
    state.counters["keystrokes"] = double(keystrokes.size());
    state.counters["mean_keystroke_ms"] = total / double(count);
    state.counters["longest_keystroke_ms"] = longest;
}
BENCHMARK(BM_TypeWordAndClear)->Unit(benchmark::kMillisecond)->Iterations(5);

const char* const Queries[] = {
    "п",                    // nearly every message
    "привет",               // a word
    "как дела",             // two words
    "\"у метро\"",          // a phrase
    "ёлка",                 // with "ё"
    "маша",                 // a name
    "916",                  // part of a number
    "позвони завтра утром", // three words
    "xyzzy",                // no message
    "🙂",                 // beyond Windows-1251
};

void BM_Query(benchmark::State& state) {
    const SearchIndex& index = theIndex();
    const QString typed = QString::fromUtf8(Queries[state.range(0)]);
    std::size_t hits = 0;
    for (auto _ : state)
        hits = index.find(parseSearchQuery(typed)).size();
    state.SetLabel(Queries[state.range(0)]);
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_Query)->DenseRange(0, std::size(Queries) - 1)->Unit(benchmark::kMillisecond);

// Through the runner, as the window sees it: the time from a keystroke to its
// result on the event loop, each keystroke after the previous result.
void BM_RunnerKeystrokeToResult(benchmark::State& state) {
    SearchRunner runner;
    runner.setIndex(theIndex());
    const QStringList keystrokes = typingAndClearing();
    QEventLoop loop;
    QObject::connect(&runner, &SearchRunner::finished, &loop, &QEventLoop::quit);
    double longest = 0;
    for (auto _ : state) {
        for (const QString& typed : keystrokes) {
            QElapsedTimer timer;
            timer.start();
            runner.search(typed);
            loop.exec();
            longest = std::max(longest, double(timer.nsecsElapsed()) / 1e6);
        }
    }
    state.counters["longest_keystroke_ms"] = longest;
    state.counters["keystrokes"] = double(keystrokes.size());
}
BENCHMARK(BM_RunnerKeystrokeToResult)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keystrokes faster than the scans: each stops the one before, and only the
// last result arrives; the time is from the last keystroke to its result.
void BM_RunnerFastTyping(benchmark::State& state) {
    SearchRunner runner;
    runner.setIndex(theIndex());
    const QStringList keystrokes = typingAndClearing();
    QEventLoop loop;
    int results = 0;
    QObject::connect(&runner, &SearchRunner::finished, &loop, [&] {
        ++results;
        loop.quit();
    });
    double longest = 0;
    for (auto _ : state) {
        for (const QString& typed : keystrokes)
            runner.search(typed);
        QElapsedTimer timer;
        timer.start();
        loop.exec();
        longest = std::max(longest, double(timer.nsecsElapsed()) / 1e6);
    }
    state.counters["last_keystroke_to_result_ms"] = longest;
    state.counters["results_per_burst"] = double(results) / double(state.iterations());
}
BENCHMARK(BM_RunnerFastTyping)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
