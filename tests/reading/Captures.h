#pragma once
// Replies captured from real phones: the command on the first line, then the
// reply lines. The phone ended its lines with CR LF; the files keep LF only.
#include <fstream>
#include <sstream>
#include <string>

namespace qb::test {

inline std::string capturedReply(const std::string& name) {
    std::ifstream file(std::string(QUILLBOX_TEST_DATA) + "/captures/" + name, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::string reply;
    for (const char c : content.str()) {
        if (c == '\n')
            reply += '\r';
        reply += c;
    }
    return reply;
}

} // namespace qb::test
