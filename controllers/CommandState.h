#pragma once
// The one "a command is running" state of the program. A controller starts
// every job through run(); while one runs, run() refuses another and the
// window, following busyChanged(), keeps its command controls disabled. The
// job is deleted once it has finished and its owner has read the outcome.
#include "core/Job.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace qb {

class CommandState : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    bool isBusy() const { return !m_job.isNull(); }
    Job* runningJob() const { return m_job.data(); }

    // Starts `job` (taking ownership) and calls `done` with it once it has
    // finished; false, deleting the job unstarted, while another one runs.
    bool run(Job* job, std::function<void(Job&)> done);
    // Cancels the running job, if any; its done() still comes.
    void cancel();

  signals:
    void busyChanged(bool busy);
    // The job's progress, for the progress bar.
    void progressChanged(const qb::ProgressState& state);

  private:
    QPointer<Job> m_job;
};

} // namespace qb
