#pragma once
// Advice for the large output buffers of the exports.
#include <string>

namespace qb {

// Tens of megabytes written 4 KB page by 4 KB fault once per page, which on a
// virtual machine costs a fifth of an export or more; 2 MB pages fault 512
// times less often. Call after reserving; only advice: the kernel may ignore it.
void adviseHugePages(std::string& buffer);

} // namespace qb
