#pragma once
// Serves the simulated phone on a pty master the way a phone on a real ACM
// line behaves when the host closes and re-opens its port, as every phone
// read does: the phone never notices. A pty master reports a hang-up while
// the port's side is closed, and SimServer's own loop then pauses for 100 ms,
// so the first reply after the re-open would come late.
#include "tools/phonesim/SimServer.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

namespace qb::e2e {

// Runs until stopFd becomes readable. `guard` is held while the simulator
// works, so another thread may look at the phone's content meanwhile.
inline void serveThroughReopens(SimServer& server, int stopFd, std::mutex& guard) {
    for (;;) {
        pollfd fds[2] = {{-1, 0, 0}, {stopFd, POLLIN, 0}};
        int timeout = -1;
        {
            std::lock_guard lock(guard);
            fds[0] = server.pollEntry();
            timeout = server.timeoutMs();
        }
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR)
            return;
        if (fds[1].revents)
            return;
        const short events = fds[0].revents;
        if ((events & POLLHUP) && !(events & POLLIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        std::lock_guard lock(guard);
        if (!server.service(events))
            return;
    }
}

} // namespace qb::e2e
