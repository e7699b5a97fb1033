#pragma once
// How long the window's thread goes without handling its events while
// something runs: a zero-interval timer fires at every chance it gets. The
// longest stretch is taken in milliseconds of the wall clock, and beside it
// the most CPU time the thread itself spent between two turns: on a loaded
// machine the first also counts the time the thread waited for a core.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace qb::bench {

class EventGaps {
  public:
    EventGaps();
    // Runs the event loop, `start` first, until `done` says so.
    void measure(const std::function<void()>& start, const std::function<bool()>& done);
    double longest = 0;
    double longestCpu = 0;

  private:
    void mark();
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_lastCpu = 0;
};

} // namespace qb::bench
