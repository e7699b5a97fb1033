#include "models/ReleaseAside.h"

#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace qb {

void releaseAside(std::shared_ptr<const void> value) {
    if (!value || value.use_count() > 1)
        return;
    std::thread([value = std::move(value)]() mutable {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
        value.reset();
    }).detach();
}

} // namespace qb
