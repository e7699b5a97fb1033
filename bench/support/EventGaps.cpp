#include "EventGaps.h"

#include <QCoreApplication>
#include <algorithm>
#include <ctime>

namespace qb::bench {
namespace {

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

EventGaps::EventGaps() {
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { mark(); });
}

void EventGaps::measure(const std::function<void()>& start, const std::function<bool()>& done) {
    m_clock.start();
    m_last = 0;
    m_lastCpu = threadCpuMs();
    m_timer.start();
    start();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    mark();
    m_timer.stop();
}

void EventGaps::mark() {
    const double now = double(m_clock.nsecsElapsed()) / 1e6;
    const double cpu = threadCpuMs();
    longest = std::max(longest, now - m_last);
    longestCpu = std::max(longestCpu, cpu - m_lastCpu);
    m_last = now;
    m_lastCpu = cpu;
}

} // namespace qb::bench
