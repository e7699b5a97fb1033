#pragma once
// Advice for large buffers: the exports' output and the archive's folders.
#include <cstddef>
#include <string>

namespace qb {

// Tens of megabytes written 4 KB page by 4 KB fault once per page, which on a
// virtual machine costs a fifth of an export or more; 2 MB pages fault 512
// times less often. Call after reserving; only advice: the kernel may ignore it.
void adviseHugePages(std::string& buffer);
void adviseHugePages(void* data, std::size_t bytes);

} // namespace qb
