#pragma once
// A long command that runs without holding the window's thread: the phone
// dialogue on the event loop, file work on a worker thread. It reports its
// progress by signal and ends with exactly one finished(), always from the
// event loop and never from within start(), after which its outcome (a member
// of the concrete job) can be read. The window shows one busy state from
// start() to finished().
#include "core/ProgressSignal.h"

#include <QObject>

namespace qb {

class Job : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    virtual void start() = 0;
    // Asks the job to stop at its next safe point; finished() still comes,
    // once, with an outcome that says it was cancelled. Nothing half-written
    // is left behind.
    virtual void cancel() = 0;

    ProgressSignal& progress() { return m_progress; }

  signals:
    void finished();

  protected:
    // Ends the job from the event loop: a job that has nothing to do, or no
    // phone to do it with, must not end before its starter has returned.
    void finishFromEventLoop() {
        QMetaObject::invokeMethod(this, &Job::finished, Qt::QueuedConnection);
    }

  private:
    ProgressSignal m_progress{this};
};

} // namespace qb
