#pragma once
// A Progress that reports by signal. A job on the window's thread or a file
// command on a worker thread writes to it; the window connects `changed` to
// its bar (queued across threads). Position steps are passed on at most every
// few milliseconds, so 100 000 steps do not flood the window's event queue;
// every other change, and the last position, always go through.
#include "core/Progress.h"

#include <QElapsedTimer>
#include <QObject>

namespace qb {

class ProgressSignal : public QObject, public Progress {
    Q_OBJECT
  public:
    explicit ProgressSignal(QObject* parent = nullptr);

    int position() const override { return m_state.position; }
    void setPosition(int position) override;
    void setMaximum(int maximum) override;
    void setTextVisible(bool visible) override;
    void setVisible(bool visible) override;
    const ProgressState& state() const { return m_state; }
    // Passes on a position step held back by the interval: a command's last
    // step would otherwise never reach the bar.
    void flush() { report(true); }

  signals:
    void changed(const qb::ProgressState& state);

  private:
    void report(bool always);

    ProgressState m_state;
    ProgressState m_reported;
    QElapsedTimer m_sinceReport;
};

} // namespace qb
