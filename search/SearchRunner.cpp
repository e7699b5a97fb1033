#include "search/SearchRunner.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace qb {

SearchRunner::SearchRunner(QObject* parent) : QObject(parent) {
    // A stopped scan may still be finishing its block of documents when the
    // next keystroke's starts: two threads, and none taken from the pool that
    // file work runs on.
    m_pool.setMaxThreadCount(2);
}

SearchRunner::~SearchRunner() {
    cancel();
    m_pool.waitForDone();
}

void SearchRunner::setIndex(SearchIndex index) {
    m_index = std::move(index);
    if (!m_typed.isEmpty())
        start();
}

bool SearchRunner::search(const QString& typed) {
    m_typed = parseSearchQuery(typed).isEmpty() ? QString() : typed;
    if (m_typed.isEmpty()) {
        stop();
        return false;
    }
    start();
    return true;
}

void SearchRunner::cancel() {
    m_typed.clear();
    stop();
}

void SearchRunner::stop() {
    if (m_cancellation)
        m_cancellation->request();
    m_cancellation.reset();
    m_running = nullptr;
}

void SearchRunner::start() {
    stop();
    auto cancellation = std::make_shared<Cancellation>();
    auto* watcher = new QFutureWatcher<SearchResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher != m_running)
            return; // stopped or overtaken by a later keystroke
        m_running = nullptr;
        m_cancellation.reset();
        emit finished(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(
        &m_pool, [index = m_index, typed = m_typed, cancellation]() -> SearchResult {
            SearchResult result{typed, parseSearchQuery(typed), {}};
            result.hits = index.find(result.query, cancellation.get());
            return result;
        }));
    m_cancellation = std::move(cancellation);
    m_running = watcher;
}

} // namespace qb
