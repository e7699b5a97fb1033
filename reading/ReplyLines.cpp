#include "reading/ReplyLines.h"

#include "phonelink/ReplyFraming.h"

namespace qb {
namespace {

bool isEcho(std::string_view line) {
    return line.size() >= 2 && (line[0] == 'A' || line[0] == 'a') &&
           (line[1] == 'T' || line[1] == 't') && line.find(' ') == std::string_view::npos;
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::vector<std::string_view> answerLines(std::string_view reply) {
    std::vector<std::string_view> lines;
    while (!reply.empty()) {
        const auto lf = reply.find('\n');
        const std::string_view line = trimBlanks(reply.substr(0, lf));
        reply.remove_prefix(lf == std::string_view::npos ? reply.size() : lf + 1);
        if (!line.empty() && !isEcho(line) && !parseFinalCode(line))
            lines.push_back(line);
    }
    return lines;
}

std::optional<std::string_view> afterPrefix(std::string_view line, std::string_view prefix) {
    if (!line.starts_with(prefix))
        return std::nullopt;
    return trimBlanks(line.substr(prefix.size()));
}

std::optional<std::string_view> firstWithPrefix(std::string_view reply, std::string_view prefix) {
    for (const std::string_view line : answerLines(reply))
        if (const auto rest = afterPrefix(line, prefix))
            return rest;
    return std::nullopt;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    bool quoted = false;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '(')
            ++depth;
        else if (!quoted && c == ')' && depth > 0)
            --depth;
        else if ((!quoted && depth == 0 && c == ',') || i == text.size()) {
            fields.push_back(trimBlanks(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return fields;
}

std::string_view unquote(std::string_view field) {
    field = trimBlanks(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

std::string_view unquoteGroup(std::string_view field) {
    field = trimBlanks(field);
    if (field.size() >= 2 && field.front() == '(' && field.back() == ')')
        field = field.substr(1, field.size() - 2);
    return trimBlanks(field);
}

std::optional<int> wholeNumber(std::string_view field) {
    field = trimBlanks(field);
    if (field.empty() || field.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace qb
