#pragma once
// Letting a big value go without the window's thread: freeing 100 000 rows
// or cells takes it tens of milliseconds. The last owner hands the value to a
// thread of its own, at the lowest priority, so that it does not take the
// window's turn on a busy machine.
#include <memory>

namespace qb {

// Frees `value` on a thread of its own when this was its last owner; a value
// still shared elsewhere is only let go here.
void releaseAside(std::shared_ptr<const void> value);

} // namespace qb
