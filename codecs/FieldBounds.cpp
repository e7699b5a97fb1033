#include "codecs/FieldBounds.h"

namespace qb {

int firstPosition(char c, std::string_view text) {
    const auto pos = text.find(c);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos) + 1;
}

void updateFieldBounds(CarriedFieldBounds& bounds, char first, char second, std::string_view text) {
    const auto start = text.find(first);
    if (start == std::string_view::npos)
        return;
    bounds.fieldStart = static_cast<int>(start) + 1;
    const auto end = text.find(second, start + 1);
    if (end != std::string_view::npos)
        bounds.fieldEnd = static_cast<int>(end) + 1;
}

} // namespace qb
