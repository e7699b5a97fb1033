#include "core/SignalCleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace qb {
namespace {

// Fixed storage, so the handler reads names without allocating or locking.
constexpr int Slots = 16;
enum SlotState : int { Free, Filling, Live };
std::atomic<int> slotStates[Slots];
char slotNames[Slots][PATH_MAX];

std::atomic<int> deferring{0};
constexpr int CleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t cleanedSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : CleanedSignals)
        sigaddset(&set, signal);
    return set;
}

// Only async-signal-safe calls from here on.
void waitForDeferredWork() {
    timespec pause{0, 1000000}; // 1 ms
    for (int waited = 0; waited < 1000 && deferring.load() > 0; ++waited)
        ::nanosleep(&pause, nullptr);
}

void removeStagedNames(int signal) {
    const int saved = errno;
    waitForDeferredWork();
    for (int slot = 0; slot < Slots; ++slot) {
        if (slotStates[slot].load() == Live)
            ::unlink(slotNames[slot]);
    }
    // Ends the process as the signal would have: the default action, raised
    // again and delivered once this handler returns.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = saved;
}

} // namespace

void removeStagedFilesOnSignals() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = removeStagedNames;
        action.sa_mask = cleanedSet(); // one handler at a time
        for (const int signal : CleanedSignals) {
            struct sigaction previous {};
            // A signal the caller chose to ignore (nohup) stays ignored.
            if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
                continue;
            ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

StagedName::StagedName(const QByteArray& path) {
    if (path.size() >= PATH_MAX)
        return; // cannot be held; the name is as short-lived as ever
    for (int slot = 0; slot < Slots; ++slot) {
        int free = Free;
        if (!slotStates[slot].compare_exchange_strong(free, Filling))
            continue;
        std::memcpy(slotNames[slot], path.constData(), std::size_t(path.size()) + 1);
        slotStates[slot].store(Live);
        m_slot = slot;
        return;
    }
}

StagedName::~StagedName() {
    if (m_slot >= 0)
        slotStates[m_slot].store(Free);
}

SignalsDeferred::SignalsDeferred() {
    deferring.fetch_add(1);
    const sigset_t set = cleanedSet();
    ::pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

SignalsDeferred::~SignalsDeferred() {
    deferring.fetch_sub(1);
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

} // namespace qb
