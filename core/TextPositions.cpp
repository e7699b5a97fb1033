#include "core/TextPositions.h"

namespace qb {

std::string charactersFrom(std::string_view text, long long start, long long count) {
    if (start < 1)
        start = 1;
    const auto size = static_cast<long long>(text.size());
    if (count <= 0 || start > size)
        return {};
    const long long available = size - start + 1;
    if (count > available)
        count = available;
    return std::string(
        text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

} // namespace qb
