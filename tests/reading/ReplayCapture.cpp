// One captured reply through the parser for its command, the result compared
// with what the capture's .expected file says: ctest runs one case per capture.
#include "archive/RecordLines.h"
#include "core/Cp1251.h"
#include "reading/MessageReplies.h"
#include "reading/PhonebookReplies.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace qb;

namespace {

std::string readFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string utf8(const std::string& cp1251) {
    return cp1251::toUnicode(cp1251).toStdString();
}

// The parsed reply as text, one fact a line; empty for a command without a parser.
std::string replay(const std::string& capture) {
    // The phone ended its lines with CR LF; the files keep LF only.
    std::string reply;
    for (const char c : capture) {
        if (c == '\n')
            reply += '\r';
        reply += c;
    }
    LineList lines;
    lines.add(reply);
    const std::string command(lines.lineView(0));
    std::string out;
    if (command.starts_with("AT+CPBR=") && command != "AT+CPBR=?") {
        for (const PhonebookEntry& entry : parsePhonebookEntries(lines))
            out += "entry \"" + utf8(entry.number) + "\" \"" + utf8(entry.name) + "\"\n";
    } else if (command.starts_with("AT+CMGR=")) {
        Message message;
        record::setStamp(message, parseCmgrStamp(lines));
        std::string date;
        record::appendDateLine(date, view(message));
        out = "date " + date + "\n";
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: replay_capture CAPTURE.dump CAPTURE.expected\n";
        return 2;
    }
    const std::string got = replay(readFile(argv[1]));
    const std::string expected = readFile(argv[2]);
    if (got.empty() || got != expected) {
        std::cerr << argv[1] << ":\n--- expected\n" << expected << "--- got\n" << got;
        return 1;
    }
    return 0;
}
