#pragma once
// What the standard dialogue's parsers share: the answer lines of a reply and
// the fields of one line, and a parser's result, a value or why there is none.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb {

// Why a reply could not be taken as the answer to its command: what was
// wrong, in a developer's words, and the line at fault.
struct ReplyError {
    std::string what; // "no +CPMS: line", "invalid range \"1-x\""
    std::string line; // as the phone sent it; empty when no line is at fault
};

template <class T> class Parsed {
  public:
    Parsed(T value) : m_value(std::move(value)) {}
    Parsed(ReplyError error) : m_error(std::move(error)) {}

    explicit operator bool() const { return m_value.has_value(); }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const ReplyError& error() const { return m_error; }

  private:
    std::optional<T> m_value;
    ReplyError m_error;
};

// The lines of a reply that answer its command: without the echo (a line
// starting with "AT", in either case, that holds no blank), blank lines and
// the final result code. Line breaks are CR LF, a lone LF, and any CRs around them.
std::vector<std::string_view> answerLines(std::string_view reply);

// The line's text after `prefix` ("+CPMS:"), blanks trimmed; none when the
// line does not start with it.
std::optional<std::string_view> afterPrefix(std::string_view line, std::string_view prefix);

// The first answer line that starts with `prefix`, the prefix taken off.
std::optional<std::string_view> firstWithPrefix(std::string_view reply, std::string_view prefix);

// Fields separated by commas that stand outside quotation marks and
// parentheses, each trimmed of blanks: `(1-250),"A,B",,7` gives "(1-250)",
// "\"A,B\"", "" and "7".
std::vector<std::string_view> splitFields(std::string_view text);

// A field without its enclosing quotation marks (or parentheses, for
// unquoteGroup), trimmed of blanks.
std::string_view unquote(std::string_view field);
std::string_view unquoteGroup(std::string_view field);

// A whole decimal number of at most nine digits, nothing else but blanks around it.
std::optional<int> wholeNumber(std::string_view field);

std::string_view trimBlanks(std::string_view text);
std::string upperAscii(std::string_view text);

} // namespace qb
