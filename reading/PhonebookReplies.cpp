#include "reading/PhonebookReplies.h"

#include "core/Substring.h"
#include "codecs/Ucs2Decoder.h"

#include <algorithm>

namespace qb {
namespace {

// 1-based position of the last `c`, 0 when there is none.
long long lastPos(std::string_view text, char c)
{
    const auto pos = text.rfind(c);
    return pos == std::string_view::npos ? 0 : static_cast<long long>(pos) + 1;
}

} // namespace

std::string parsePhonebookRangeEnd(std::string_view reply)
{
    const long long close = lastPos(reply, ')');
    long long dash = lastPos(reply, '-');
    if (close != 0 && dash == 0) {
        // A one-position range "(250)". Cutting from the reply's start instead
        // would send the echo and its line breaks as part of the next command.
        dash = lastPos(reply.substr(0, static_cast<std::size_t>(close)), '(');
        if (dash == 0)
            return {};
    }
    std::string end = substring(reply, dash + 1, close - dash - 1);
    // It goes into the next command line: a line break inside would make the
    // phone run the rest as a command of its own.
    const bool control = std::any_of(end.begin(), end.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return control ? std::string() : end;
}

std::vector<PhonebookEntry> parsePhonebookEntries(const LineList& reply)
{
    std::vector<PhonebookEntry> entries;
    long long q1 = 0;
    long long q2 = 0;
    for (int i = 1; i < reply.count() - 1; i += 2) {
        const std::string_view line = reply.lineView(i);
        const auto first = line.find('"');
        const auto second = first == std::string_view::npos ? first : line.find('"', first + 1);
        // A line without its two quotation marks reuses the previous entry's positions.
        if (second != std::string_view::npos) {
            q1 = static_cast<long long>(first) + 1;
            q2 = static_cast<long long>(second) + 1;
        }
        const auto length = static_cast<long long>(line.size());
        entries.push_back({substring(line, q1 + 1, q2 - q1 - 1),
                           decodeUcs2Hex(substring(line, q2 + 6, length - q2 - 5))});
    }
    return entries;
}

} // namespace qb
