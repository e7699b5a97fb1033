#pragma once
// Tells when a reply is whole by its final result codes: every AT command
// ends its answer with one line "OK", "ERROR", "+CME ERROR: ..." or
// "+CMS ERROR: ...", so k commands sent together are answered once k such
// lines have arrived. Bytes are fed as they are read, so a code split across
// two reads is still seen. Lines are cut as the dialogue's line lists cut
// them: at CR LF, with a CR directly in front of the CR LF belonging to the
// break; a line not yet ended by CR LF is never taken for a code.
#include <cstddef>
#include <string_view>

namespace qb {

// True for a whole reply line (without its CR LF) that ends a command's answer.
bool isFinalResultCode(std::string_view line);

class FinalCodeCounter {
  public:
    // wanted 0: no number of codes ends the reply.
    explicit FinalCodeCounter(int wanted) : m_wanted(wanted) {}

    void feed(std::string_view bytes);
    int count() const { return m_count; }
    bool complete() const { return m_wanted > 0 && m_count >= m_wanted; }

  private:
    void endLine();

    // The longest code compared whole is "ERROR"; the error codes are told by
    // their first eleven characters. More of a line is never needed.
    static constexpr std::size_t HeadSize = 16;

    int m_wanted;
    int m_count = 0;
    // The line lists stop at a zero byte, so nothing after one is read:
    // such a reply is left to the quiet-line rule.
    bool m_blind = false;
    char m_head[HeadSize] = {};
    std::size_t m_length = 0; // of the current line so far, all of it
    char m_last = 0;          // its last two bytes, for the CR (CR) LF break
    char m_beforeLast = 0;
};

} // namespace qb
