#pragma once
// Small text helpers shared by the simulator's command handlers.
#include <charconv>
#include <string>
#include <string_view>

namespace qb::at {

inline std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

inline std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// "\"ALL\"" and "all" both give "ALL".
inline std::string unquote(std::string_view s) {
    s = trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    return upper(s);
}

inline bool toInt(std::string_view s, int& value) {
    s = trim(s);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

inline std::string quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

} // namespace qb::at
