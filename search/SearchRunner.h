#pragma once
// Search as you type: each keystroke's search runs on a thread of its own
// while the window goes on, and a new keystroke stops the one still running,
// whose result then never arrives. The scan works on its own copy of the
// index, so the index may be replaced meanwhile.
#include "search/SearchIndex.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <memory>

template <typename T> class QFutureWatcher;

namespace qb {

struct SearchResult {
    QString typed; // what the search field held
    SearchQuery query;
    std::vector<SearchHit> hits;
};

class SearchRunner : public QObject {
    Q_OBJECT
  public:
    explicit SearchRunner(QObject* parent = nullptr);
    // Stops the running scan and waits for it: a few thousand documents at most.
    ~SearchRunner() override;

    // Later searches scan `index`; the search last asked for, if any, is run
    // again on it, so its result follows a change to the archive.
    void setIndex(SearchIndex index);
    const SearchIndex& index() const { return m_index; }

    // Searches for `typed`, stopping the search still running. Text without a
    // term (nothing, blanks, empty quotes) stops it and starts none, and
    // false says so: the window shows its folder again.
    bool search(const QString& typed);
    // Stops the running search, whose result never arrives, and forgets it.
    void cancel();
    bool isRunning() const { return m_running != nullptr; }

  signals:
    // The result of the latest search, on the thread the runner lives in.
    void finished(const qb::SearchResult& result);

  private:
    void start();
    void stop();

    SearchIndex m_index;
    QString m_typed; // the search last asked for; empty after one without terms
    QThreadPool m_pool;
    std::shared_ptr<Cancellation> m_cancellation;
    QFutureWatcher<SearchResult>* m_running = nullptr;
};

} // namespace qb
