#include "codecs/Timestamp.h"

#include "core/TextPositions.h"

#include <array>

namespace qb {
namespace {

std::string pad(std::string part) {
    return part.size() >= 2 ? part : "0" + part;
}

// P1 "/", P2 "/", P3 ",", P4 ":", P5 the last ":" after P4; 0 when not found.
std::array<long long, 5> findPositions(std::string_view s) {
    static constexpr std::array<char, 5> wanted{'/', '/', ',', ':', ':'};
    std::array<long long, 5> p{};
    std::size_t next = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (next < 4) {
            if (s[i] == wanted[next])
                p[next++] = static_cast<long long>(i) + 1;
        } else if (s[i] == ':') {
            p[4] = static_cast<long long>(i) + 1;
        }
    }
    return p;
}

} // namespace

std::string normaliseTimestamp(std::string_view s) {
    const auto [p1, p2, p3, p4, p5] = findPositions(s);
    const std::string year = charactersFrom(s, p1 - 4, 4);
    const std::string month = pad(charactersFrom(s, p1 + 1, p2 - p1 - 1));
    const std::string day = pad(charactersFrom(s, p2 + 1, p3 - p2 - 1));
    const std::string hour = pad(charactersFrom(s, p3 + 1, p4 - p3 - 1));
    std::string minute = pad(charactersFrom(s, p4 + 1, p5 - p4 - 1));
    if (minute.size() == 1)
        minute = "00";
    std::string second = "00";
    if (p5 != 0) {
        second = charactersFrom(s, p5 + 1, static_cast<long long>(s.size()) - p5);
        if (second.size() == 1)
            second = "0" + second;
        else if (second.empty())
            second = "00";
    }
    return day + "/" + month + "/" + year + "," + hour + ":" + minute + ":" + second;
}

} // namespace qb
