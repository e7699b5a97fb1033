#include "core/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace qb {

void adviseHugePages(void* data, std::size_t bytes) {
    constexpr std::uintptr_t Huge = 2 << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (start + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t to = (start + bytes) & ~(Huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

void adviseHugePages(std::string& buffer) {
    adviseHugePages(buffer.data(), buffer.capacity());
}

} // namespace qb
