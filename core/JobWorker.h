#pragma once
// The worker-thread half of a file job. A job owns one, declared as its last
// member: start() runs the work on Qt's thread pool and emits the job's
// finished() on the thread that started it, once the work has returned (or
// calls `then` there instead, for a job with steps of its own after the work).
// Destroying it while the work runs asks the work to stop and waits for it;
// the work looks at its Cancellation between lines or rows, so that wait is
// short, and nothing the work touches is gone before it has returned.
#include "core/Cancellation.h"
#include "core/Job.h"

#include <QFutureWatcher>

#include <functional>

namespace qb {

class JobWorker {
  public:
    explicit JobWorker(Job& job);
    ~JobWorker();
    JobWorker(const JobWorker&) = delete;
    JobWorker& operator=(const JobWorker&) = delete;

    // Runs `work` once on a worker thread; a second start does nothing.
    void start(std::function<void(Cancellation&)> work, std::function<void()> then = {});
    void cancel() { m_cancellation.request(); }
    // Whether the work stopped at a cancellation point; valid after finished().
    bool stopped() const { return m_cancellation.stopped(); }
    bool isRunning() const { return m_watcher.isRunning(); }

  private:
    Job& m_job;
    Cancellation m_cancellation;
    QFutureWatcher<void> m_watcher;
    std::function<void()> m_then;
    bool m_started = false;
};

} // namespace qb
