#include "archive/FileLines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb::fileLines {
namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

const char* findBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (p < end && !isBreak(*p))
        ++p;
    return p;
}

} // namespace

bool Cursor::next(std::string_view& line) {
    if (m_pos == m_end)
        return false;
    const char* const brk = findBreak(m_pos, m_end);
    line = std::string_view(m_pos, static_cast<std::size_t>(brk - m_pos));
    if (brk == m_end)
        m_pos = m_end;
    else if (*brk == '\r' && brk + 1 < m_end && brk[1] == '\n')
        m_pos = brk + 2;
    else
        m_pos = brk + 1;
    return true;
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

std::vector<std::string_view> split(std::string_view content) {
    std::vector<std::string_view> lines;
    lines.reserve(count(content));
    Cursor cursor(content);
    std::string_view line;
    while (cursor.next(line))
        lines.push_back(line);
    return lines;
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
