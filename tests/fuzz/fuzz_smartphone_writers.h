#pragma once
// Checks shared by the two smartphone writers' fuzz targets.
#include <cstdlib>
#include <string_view>

namespace fuzzcheck {

inline void require(bool holds) {
    if (!holds)
        std::abort();
}

// Well-formed UTF-8 without the control characters neither format may carry
// (tab and line breaks aside).
inline void requireCleanUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            require(lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r');
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        require(length != 0 && lead < 0xF5 && i + length <= text.size());
        for (std::size_t k = 1; k < length; ++k)
            require((static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80);
        i += length;
    }
}

inline std::size_t occurrences(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace fuzzcheck
