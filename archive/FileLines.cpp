#include "archive/FileLines.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb::fileLines {
namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

// The breaks of `blocks` whole blocks of 64 bytes from p, one after the other.
void breaksOfBlocksPortable(const char* p, std::size_t blocks, Breaks* out) {
    for (std::size_t b = 0; b < blocks; ++b, p += 64) {
        Breaks breaks;
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
            const auto mask = [&](__m128i c) {
                return static_cast<std::uint64_t>(
                           static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, c))))
                       << (16 * part);
            };
            breaks.cr |= mask(cr);
            breaks.lf |= mask(lf);
        }
#else
        for (int i = 0; i < 64; ++i) {
            breaks.cr |= static_cast<std::uint64_t>(p[i] == '\r') << i;
            breaks.lf |= static_cast<std::uint64_t>(p[i] == '\n') << i;
        }
#endif
        out[b] = breaks;
    }
}

using BreaksOfBlocks = void (*)(const char* p, std::size_t blocks, Breaks* out);

#if defined(__x86_64__)
// Most processors since 2013 compare 32 bytes at a time; finding the lines
// of a folder file costs half as much then.
__attribute__((target("avx2"))) void breaksOfBlocksAvx2(const char* p, std::size_t blocks,
                                                        Breaks* out) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    for (std::size_t b = 0; b < blocks; ++b, p += 64) {
        const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
        const std::uint32_t crLow = _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, cr));
        const std::uint32_t crHigh = _mm256_movemask_epi8(_mm256_cmpeq_epi8(high, cr));
        const std::uint32_t lfLow = _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, lf));
        const std::uint32_t lfHigh = _mm256_movemask_epi8(_mm256_cmpeq_epi8(high, lf));
        out[b] = {crLow | std::uint64_t(crHigh) << 32, lfLow | std::uint64_t(lfHigh) << 32};
    }
}

const bool HasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                     __builtin_cpu_supports("popcnt");
const BreaksOfBlocks breaksOfBlocks = HasAvx2 ? breaksOfBlocksAvx2 : breaksOfBlocksPortable;
#else
const BreaksOfBlocks breaksOfBlocks = breaksOfBlocksPortable;
#endif

} // namespace

Breaks breaksIn(const char* p, const char* end) {
    Breaks breaks;
    if (end - p >= 64) {
        breaksOfBlocks(p, 1, &breaks);
    } else {
        char tail[64] = {};
        std::copy(p, end, tail);
        breaksOfBlocks(tail, 1, &breaks);
    }
    return breaks;
}

namespace {

// appendLineStarts with the masks from `masksOf`, compiled once for every
// processor and once more for those that compare 32 bytes at a time.
template <BreaksOfBlocks masksOf>
[[gnu::always_inline]] inline void appendLineStartsWith(std::string_view content, std::size_t from,
                                                        std::size_t to, bool& crBefore,
                                                        LineStarts& starts) {
    const char* const base = content.data();
    const char* const end = base + content.size();
    constexpr std::size_t Batch = 64; // blocks whose masks are found in one go: 4 KB
    Breaks masks[Batch];
    for (std::size_t block = from; block < to;) {
        const std::size_t wanted = std::min(Batch, (to - block + 63) / 64);
        std::size_t whole = std::min(wanted, static_cast<std::size_t>(end - (base + block)) / 64);
        masksOf(base + block, whole, masks);
        if (whole < wanted) // the last bytes, fewer than 64
            masks[whole++] = breaksIn(base + block + 64 * (wanted - 1), end);
        // Room for a line per byte; what is not taken goes again below.
        const std::size_t used = starts.size();
        starts.resize(used + 64 * whole);
        std::uint32_t* next = starts.data() + used;
        for (std::size_t b = 0; b < whole; ++b, block += 64) {
            const Breaks& breaks = masks[b];
            const std::size_t width = std::min<std::size_t>(64, to - block);
            const std::uint64_t inRange =
                width == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << width) - 1;
            const std::uint64_t afterCr = breaks.cr << 1 | static_cast<std::uint64_t>(crBefore);
            const bool lfNext = block + 64 < content.size() && base[block + 64] == '\n';
            const std::uint64_t beforeLf = breaks.lf >> 1 | static_cast<std::uint64_t>(lfNext)
                                                                << 63;
            std::uint64_t ends = (breaks.cr | (breaks.lf & ~afterCr)) & inRange;
            const std::uint64_t pairs = breaks.cr & beforeLf;
            crBefore = (breaks.cr >> (width - 1)) & 1;
            // Four line ends are written whether the block holds them or not,
            // and the count taken: a branch on each end would mispredict.
            const int count = __builtin_popcountll(ends);
            for (int k = 0; k < 4; ++k) {
                const unsigned bit = static_cast<unsigned>(__builtin_ctzll(ends | 1ull << 63));
                ends &= ends - 1;
                next[k] = static_cast<std::uint32_t>(block + bit + 1 + ((pairs >> bit) & 1));
            }
            for (int k = 4; k < count; ++k) {
                const unsigned bit = static_cast<unsigned>(__builtin_ctzll(ends));
                ends &= ends - 1;
                next[k] = static_cast<std::uint32_t>(block + bit + 1 + ((pairs >> bit) & 1));
            }
            next += count;
        }
        starts.resize(static_cast<std::size_t>(next - starts.data()));
    }
}

void appendLineStartsPortable(std::string_view content, std::size_t from, std::size_t to,
                              bool& crBefore, LineStarts& starts) {
    appendLineStartsWith<breaksOfBlocksPortable>(content, from, to, crBefore, starts);
}

#if defined(__x86_64__)
__attribute__((target("avx2,bmi,popcnt"))) void appendLineStartsAvx2(std::string_view content,
                                                                     std::size_t from,
                                                                     std::size_t to, bool& crBefore,
                                                                     LineStarts& starts) {
    appendLineStartsWith<breaksOfBlocksAvx2>(content, from, to, crBefore, starts);
}
#endif

} // namespace

void appendLineStarts(std::string_view content, std::size_t from, std::size_t to, bool& crBefore,
                      LineStarts& starts) {
#if defined(__x86_64__)
    if (HasAvx2)
        return appendLineStartsAvx2(content, from, to, crBefore, starts);
#endif
    appendLineStartsPortable(content, from, to, crBefore, starts);
}

// Every CR and every LF ends a line, except the CR of a CR LF pair; a last
// line without a break counts too.
std::size_t count(std::string_view content) {
    const char* p = content.data();
    const char* const end = p + content.size();
    std::size_t breaks = 0;
#if defined(__SSE2__)
    // Per byte lane: +1 for a break that is not the CR of a CR LF pair. A lane
    // grows by at most 1 per step, so the lanes are summed every 255 steps.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (end - p > 16) {
        __m128i lanes = zero;
        for (int step = 0; step < 255 && end - p > 16; ++step, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i following = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i isCr = _mm_cmpeq_epi8(bytes, cr);
            const __m128i isBreak = _mm_or_si128(isCr, _mm_cmpeq_epi8(bytes, lf));
            const __m128i pairs = _mm_and_si128(isCr, _mm_cmpeq_epi8(following, lf));
            lanes = _mm_sub_epi8(lanes, _mm_andnot_si128(pairs, isBreak));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                  static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; p < end; ++p) {
        if (isBreak(*p) && !(*p == '\r' && p + 1 < end && p[1] == '\n'))
            ++breaks;
    }
    const bool openLast = !content.empty() && !isBreak(content.back());
    return breaks + (openLast ? 1 : 0);
}

void appendLines(std::string_view content, std::string& out) {
    Cursor cursor(content);
    std::string_view line;
    while (cursor.next(line)) {
        out += line;
        out += "\r\n";
    }
}

} // namespace qb::fileLines
