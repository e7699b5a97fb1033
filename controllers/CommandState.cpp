#include "controllers/CommandState.h"

namespace qb {

bool CommandState::run(Job* job, std::function<void(Job&)> done) {
    if (isBusy()) {
        delete job;
        return false;
    }
    job->setParent(this);
    m_job = job;
    connect(&job->progress(), &ProgressSignal::changed, this, &CommandState::progressChanged);
    // What the controller set up before handing the job over shows at once.
    emit progressChanged(job->progress().state());
    connect(job, &Job::finished, this, [this, job, done = std::move(done)] {
        m_job = nullptr;
        // The outcome is read before the window may start the next command.
        if (done)
            done(*job);
        job->deleteLater();
        // done() may have started the next job already.
        if (!isBusy())
            emit busyChanged(false);
    });
    emit busyChanged(true);
    job->start();
    return true;
}

void CommandState::cancel() {
    if (m_job)
        m_job->cancel();
}

} // namespace qb
