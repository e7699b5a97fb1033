#pragma once
// Tells where the phone's reply to a group of commands starts and where it
// ends, from the bytes alone. The phone echoes each command line, then answers
// it and closes the answer with one final result code ("OK", "ERROR",
// "+CMS ERROR: n", "+CME ERROR: n"). A code is taken as the answer to a
// command only once that command's echo has been seen, so bytes an earlier,
// abandoned reply left on the line neither end this one nor shift the next.
// Lines are cut as the dialogue's line lists cut them: at CR LF, a CR right in
// front of the CR LF belonging to the break.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The line that ends a command's answer.
struct FinalCode {
    enum class Kind { Ok, Error, CmsError, CmeError };
    Kind kind = Kind::Ok;
    std::string line;          // as the phone sent it, e.g. "+CMS ERROR: 500"
    std::optional<int> number; // the error number, when the phone gave digits
    bool isError() const { return kind != Kind::Ok; }
};

// The final result code a whole reply line (without its break) is, if any.
std::optional<FinalCode> parseFinalCode(std::string_view line);

// Whether a whole reply line is one the phone sends of its own accord (a
// call, a new message, its banner) rather than as part of an answer.
bool isUnsolicitedLine(std::string_view line);

class ReplyFraming {
  public:
    // Frames the reply to `commands`, sent together in this order. Without
    // commands every byte belongs to the reply and only a quiet line ends it.
    explicit ReplyFraming(std::vector<std::string> commands = {});

    // Takes bytes as they arrive, up to the end of the reply, and returns how
    // many it took: bytes after the last final code belong to what comes next.
    std::size_t feed(std::string_view bytes);

    // Every command has its final code.
    bool complete() const { return !m_commands.empty() && m_codes.size() == m_commands.size(); }
    // The first command's echo has been seen: from here on the bytes are the reply.
    bool begun() const { return m_echoes > 0 || m_commands.empty(); }
    // A zero byte came: the dialogue's line lists read nothing after one, so
    // no code can be told there and only a quiet line ends the reply.
    bool blind() const { return m_blind; }
    // The final codes of the commands answered so far, in order.
    const std::vector<FinalCode>& codes() const { return m_codes; }
    // The reply as the phone sent it from the first echo on, with the lines it
    // sent of its own accord taken out; nothing before the echo has come.
    std::string reply() const { return begun() ? m_reply + m_line : std::string(); }

  private:
    void endLine();
    void keepLine(std::string_view content);
    bool isEchoOf(std::string_view content, std::size_t command, bool anywhereAtTheEnd) const;

    std::vector<std::string> m_commands;
    std::size_t m_echoes = 0; // commands whose echo has been seen
    std::vector<FinalCode> m_codes;
    std::string m_reply;                           // whole lines of the reply
    std::string m_line;                            // the line being received, with its break so far
    std::size_t m_emptyLineAt = std::string::npos; // where the reply's last line starts, if empty
    bool m_dropNextLine = false;                   // the second line of an unsolicited message
    bool m_blind = false;
};

} // namespace qb
