#pragma once
// A request to stop file work. The window's thread asks; the work, on a worker
// thread, looks between lines or rows and stops there only before it writes,
// so a stopped command leaves every file as it was.
#include <atomic>

namespace qb {

class Cancellation {
  public:
    void request() { m_requested.store(true, std::memory_order_relaxed); }
    bool requested() const { return m_requested.load(std::memory_order_relaxed); }

    // Called by the work at a point where it may stop: true when it should,
    // and then remembered, so the job can tell a stopped run from one that was
    // asked too late and finished anyway.
    bool stopsHere() {
        if (requested())
            m_stopped = true;
        return m_stopped;
    }
    bool stopped() const { return m_stopped; }

  private:
    std::atomic<bool> m_requested{false};
    bool m_stopped = false; // written and read by the work's thread only, then read after it
};

// For work that may be run without a job.
inline bool stopsHere(Cancellation* cancel) {
    return cancel != nullptr && cancel->stopsHere();
}

} // namespace qb
