#include "core/JobWorker.h"

#include <QtConcurrent/QtConcurrentRun>

namespace qb {

JobWorker::JobWorker(Job& job) : m_job(job) {
    QObject::connect(&m_watcher, &QFutureWatcher<void>::finished, &m_job, [this] {
        if (m_then)
            m_then();
        else
            emit m_job.finished();
    });
}

JobWorker::~JobWorker() {
    if (!m_watcher.isRunning())
        return;
    QObject::disconnect(&m_watcher, nullptr, &m_job, nullptr);
    m_cancellation.request();
    m_watcher.waitForFinished();
}

void JobWorker::start(std::function<void(Cancellation&)> work, std::function<void()> then) {
    if (m_started)
        return;
    m_started = true;
    m_then = std::move(then);
    m_watcher.setFuture(QtConcurrent::run([this, work = std::move(work)] {
        work(m_cancellation);
        m_job.progress().flush(); // before finished(), which is queued after it
    }));
}

} // namespace qb
