#pragma once
// Runs a job to its end on the test's thread, as the window would: the
// progress connected without naming a connection type (so it is queued when
// the work emits from a worker thread), finished() counted.
#include "core/Job.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <functional>
#include <vector>

namespace qb::test {

struct JobRun {
    std::vector<ProgressState> progress; // as this thread received it
    bool progressOnThisThread = true;
    int finished = 0;
};

inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives as long as the test program
}

// `started` runs right after start(), with the work possibly under way.
inline JobRun runJob(Job& job, const std::function<void()>& started = {}) {
    ensureApplication();
    JobRun run;
    QObject receiver;
    QObject::connect(&job.progress(), &ProgressSignal::changed, &receiver,
                     [&](const ProgressState& state) {
                         run.progress.push_back(state);
                         run.progressOnThisThread &= QThread::currentThread() == receiver.thread();
                     });
    QSignalSpy finished(&job, &Job::finished);
    job.start();
    if (started)
        started();
    if (finished.isEmpty())
        finished.wait(30000);
    finished.wait(50); // a second finished() would come now
    run.finished = static_cast<int>(finished.count());
    return run;
}

} // namespace qb::test
