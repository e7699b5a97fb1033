#include "phonelink/FinalCodeCounter.h"

#include <algorithm>

namespace qb {

bool isFinalResultCode(std::string_view line) {
    return line == "OK" || line == "ERROR" || line.starts_with("+CME ERROR:") ||
           line.starts_with("+CMS ERROR:");
}

void FinalCodeCounter::feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (m_blind)
            return;
        if (c == '\0') {
            m_blind = true;
            return;
        }
        if (c == '\n' && m_length > 0 && m_last == '\r') {
            endLine();
            continue;
        }
        if (m_length < HeadSize)
            m_head[m_length] = c;
        ++m_length;
        m_beforeLast = m_last;
        m_last = c;
    }
}

void FinalCodeCounter::endLine() {
    std::size_t length = m_length - 1; // without the CR of the break
    if (length > 0 && m_beforeLast == '\r')
        --length;
    const std::string_view head(m_head, std::min(length, HeadSize));
    // A line longer than the head can only be an error code, told by its start.
    if (length <= HeadSize ? isFinalResultCode(head) : isFinalResultCode(head.substr(0, 11)))
        ++m_count;
    m_length = 0;
    m_last = m_beforeLast = 0;
}

} // namespace qb
