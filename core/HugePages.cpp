#include "core/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace qb {

void adviseHugePages(std::string& buffer) {
    constexpr std::uintptr_t Huge = 2 << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
    const std::uintptr_t from = (start + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t to = (start + buffer.capacity()) & ~(Huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

} // namespace qb
