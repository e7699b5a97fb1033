#include "search/ByteSearch.h"

#include <cstring>
#include <emmintrin.h>

namespace qb {

// Each of 16 positions is a candidate when both the needle's first and last
// bytes stand at their places; only candidates are compared whole. Two bytes
// that far apart rarely both match by chance, even in Russian text, where a
// few letters make up much of every message.
const char* findBytes(const char* from, const char* to, std::string_view needle) {
    const std::size_t length = needle.size();
    if (std::size_t(to - from) < length)
        return nullptr;
    if (length == 1)
        return static_cast<const char*>(std::memchr(from, needle[0], std::size_t(to - from)));
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    const char* at = from;
    for (; at + 16 + length - 1 <= to; at += 16) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + length - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
        while (mask != 0) {
            const int bit = __builtin_ctz(mask);
            if (std::memcmp(at + bit + 1, needle.data() + 1, length - 2) == 0)
                return at + bit;
            mask &= mask - 1;
        }
    }
    return static_cast<const char*>(memmem(at, std::size_t(to - at), needle.data(), length));
}

} // namespace qb
