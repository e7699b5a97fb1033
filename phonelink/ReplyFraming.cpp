#include "phonelink/ReplyFraming.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qb {
namespace {

constexpr std::string_view CmsPrefix = "+CMS ERROR:";
constexpr std::string_view CmePrefix = "+CME ERROR:";

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A number given as 1 to 9 digits; a phone in verbose error mode gives words.
std::optional<int> errorNumber(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int number = 0;
    for (const char c : text)
        number = number * 10 + (c - '0');
    return number;
}

// The unsolicited result codes of 27.005 and 27.007 a phone may send while it
// answers, and Motorola's banner. Those of new messages and reports carry the
// message on a second line.
constexpr std::array<std::string_view, 17> UnsolicitedPrefixes = {
    "RING",  "NO CARRIER", "+CRING:", "+CLIP:",  "+CCWA:", "+CMTI:", "+CDSI:", "+CBMI:", "+CMT:",
    "+CDS:", "+CBM:",      "+CREG:",  "+CGREG:", "+CIEV:", "+CUSD:", "+CSSU:", "+MBAN:"};

bool carriesASecondLine(std::string_view line) {
    return line.starts_with("+CMT:") || line.starts_with("+CDS:") || line.starts_with("+CBM:");
}

} // namespace

std::optional<FinalCode> parseFinalCode(std::string_view line) {
    if (line == "OK")
        return FinalCode{FinalCode::Kind::Ok, std::string(line), std::nullopt};
    if (line == "ERROR")
        return FinalCode{FinalCode::Kind::Error, std::string(line), std::nullopt};
    if (line.starts_with(CmsPrefix))
        return FinalCode{FinalCode::Kind::CmsError, std::string(line),
                         errorNumber(line.substr(CmsPrefix.size()))};
    if (line.starts_with(CmePrefix))
        return FinalCode{FinalCode::Kind::CmeError, std::string(line),
                         errorNumber(line.substr(CmePrefix.size()))};
    return std::nullopt;
}

bool isUnsolicitedLine(std::string_view line) {
    return std::any_of(UnsolicitedPrefixes.begin(), UnsolicitedPrefixes.end(),
                       [line](std::string_view prefix) {
                           return prefix.back() == ':' ? line.starts_with(prefix) : line == prefix;
                       });
}

ReplyFraming::ReplyFraming(std::vector<std::string> commands) : m_commands(std::move(commands)) {}

std::size_t ReplyFraming::feed(std::string_view bytes) {
    if (m_commands.empty() || m_blind) {
        m_reply.append(bytes);
        return bytes.size();
    }
    std::size_t taken = 0;
    while (taken < bytes.size() && !complete()) {
        const std::string_view rest = bytes.substr(taken);
        const std::size_t lf = rest.find('\n');
        const std::string_view piece =
            rest.substr(0, lf == std::string_view::npos ? rest.size() : lf + 1);
        if (begun() && piece.find('\0') != std::string_view::npos) {
            m_blind = true;
            m_reply += m_line;
            m_line.clear();
            m_reply.append(rest);
            return bytes.size();
        }
        m_line.append(piece);
        taken += piece.size();
        if (m_line.ends_with("\r\n"))
            endLine();
    }
    return taken;
}

void ReplyFraming::endLine() {
    std::string_view content(m_line);
    content.remove_suffix(2);
    if (content.ends_with('\r'))
        content.remove_suffix(1);
    if (!begun()) {
        // Whatever an abandoned reply left in front of the first echo is no
        // part of this one, even on the echo's own line.
        if (isEchoOf(content, 0, true)) {
            const std::string_view line = trimmed(content);
            m_line.erase(0, static_cast<std::size_t>(line.data() - m_line.data()) + line.size() -
                                m_commands[0].size());
            m_echoes = 1;
            m_reply = std::move(m_line);
        }
        m_line.clear();
        return;
    }
    keepLine(content);
    m_line.clear();
}

void ReplyFraming::keepLine(std::string_view content) {
    if (std::exchange(m_dropNextLine, false))
        return;
    if (isUnsolicitedLine(content)) {
        // The phone frames it with a line break of its own in front.
        if (m_emptyLineAt != std::string::npos)
            m_reply.resize(m_emptyLineAt);
        m_emptyLineAt = std::string::npos;
        m_dropNextLine = carriesASecondLine(content);
        return;
    }
    m_emptyLineAt = content.empty() ? m_reply.size() : std::string::npos;
    if (m_echoes < m_commands.size() && isEchoOf(content, m_echoes, false)) {
        ++m_echoes;
    } else if (auto code = parseFinalCode(content); code && m_codes.size() < m_echoes) {
        m_codes.push_back(std::move(*code));
    }
    m_reply += m_line;
}

bool ReplyFraming::isEchoOf(std::string_view content, std::size_t command,
                            bool anywhereAtTheEnd) const {
    const std::string_view line = trimmed(content);
    const std::string& echo = m_commands[command];
    return anywhereAtTheEnd ? line.ends_with(echo) : line == echo;
}

} // namespace qb
