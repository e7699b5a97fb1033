#include "tools/phonesim/PhoneQuirks.h"

#include "tools/phonesim/AtText.h"

#include <cstdlib>
#include <map>

namespace qb {

using namespace at;

namespace {

constexpr std::string_view Listing = "at+mmgl=\"ALL\"";
constexpr std::string_view StandardListing = "AT+CMGL=4";

// The echo of the command line: everything up to and with its CR.
std::size_t echoEnd(std::string_view answer) {
    const std::size_t cr = answer.find('\r');
    return cr == std::string_view::npos ? answer.size() : cr + 1;
}

std::string_view commandLine(std::string_view answer) {
    return answer.substr(0, echoEnd(answer));
}

bool number(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 3600000)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

// "500:AT+CMGR=3": the error code, then the command line.
bool refusal(const char* text, PhoneQuirks& quirks) {
    const std::string value = text;
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || !number(value.substr(0, colon).c_str(), quirks.cmsError))
        return false;
    quirks.refusedCommand = value.substr(colon + 1);
    return !quirks.refusedCommand.empty();
}

} // namespace

const char QuirksUsage[] =
    "phone quirks: [--delay MS] [--listing-delay MS] [--dribble GAP_MS] [--pause MS]\n"
    "              [--pause-in COMMAND] [--unsolicited] [--cms-error CODE:COMMAND]\n"
    "              [--endless COMMAND] [--silent-from COMMAND]\n";

bool PhoneQuirks::any() const {
    return answerDelayMs > 0 || listingDelayMs > 0 || dribbleGapMs >= 0 || pauseMs > 0 ||
           unsolicited || !refusedCommand.empty() || !endlessCommand.empty() ||
           !silentCommand.empty();
}

bool isCommand(std::string_view line, std::string_view command) {
    const auto stripped = [](std::string_view text) {
        while (!text.empty() && (text.front() == '\n' || text.front() == '\r'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.remove_suffix(1);
        return upper(trim(text));
    };
    return !command.empty() && stripped(line) == stripped(command);
}

AnswerShaper answerShaper(const PhoneQuirks& quirks) {
    return [quirks](std::size_t, std::string_view answer) {
        AnswerShape shape;
        shape.delayMs = quirks.answerDelayMs;
        std::map<std::size_t, int> pauses; // cut -> the pause before the bytes from there
        const std::string_view line = commandLine(answer);
        if (quirks.listingDelayMs > 0 &&
            (isCommand(line, Listing) || isCommand(line, StandardListing)))
            pauses[echoEnd(answer)] += quirks.listingDelayMs;
        if (quirks.pauseMs > 0 && isCommand(line, quirks.pauseCommand))
            pauses[echoEnd(answer) + (answer.size() - echoEnd(answer)) / 2] += quirks.pauseMs;
        if (quirks.dribbleGapMs >= 0) {
            for (std::size_t cut = 1; cut < answer.size(); ++cut) {
                shape.cuts.push_back(cut);
                const auto pause = pauses.find(cut);
                shape.gapsMs.push_back(quirks.dribbleGapMs +
                                       (pause == pauses.end() ? 0 : pause->second));
            }
            return shape;
        }
        for (const auto& [cut, pause] : pauses) {
            if (cut > 0 && cut < answer.size()) {
                shape.cuts.push_back(cut);
                shape.gapsMs.push_back(pause);
            }
        }
        return shape;
    };
}

std::string withUnsolicitedLines(std::string answer, std::size_t n) {
    // RING after the middle one of the reply's line breaks, the last aside.
    std::vector<std::size_t> breaks;
    for (std::size_t at = answer.find("\r\n", echoEnd(answer)); at != std::string::npos;
         at = answer.find("\r\n", at + 2))
        breaks.push_back(at + 2);
    if (breaks.size() > 1)
        answer.insert(breaks[(breaks.size() - 1) / 2], "\r\nRING\r\n");
    if (n == 0)
        answer.insert(0, "\r\n+MBAN: Copyright 2000-2002 Motorola, Inc.\r\n");
    if (n % 2 == 1)
        answer += "\r\n+CMTI: \"ME\",9\r\n";
    return answer;
}

std::string endlessListingLines(std::size_t batch) {
    constexpr std::size_t PerBatch = 32;
    std::string lines;
    for (std::size_t i = 1; i <= PerBatch; ++i)
        lines += "+MMGL: " + std::to_string(batch * PerBatch + i) +
                 ", \"REC READ\", \"+79160000000\"\r\n0041004200430044\r\n";
    return lines;
}

int takeQuirkOption(int argc, char** argv, int i, PhoneQuirks& quirks) {
    const std::string option = argv[i];
    if (option == "--unsolicited") {
        quirks.unsolicited = true;
        return 1;
    }
    const bool known = option == "--delay" || option == "--listing-delay" ||
                       option == "--dribble" || option == "--pause" || option == "--pause-in" ||
                       option == "--cms-error" || option == "--endless" ||
                       option == "--silent-from";
    if (!known)
        return 0;
    if (i + 1 >= argc)
        return -1;
    const char* value = argv[i + 1];
    bool good = true;
    if (option == "--delay")
        good = number(value, quirks.answerDelayMs);
    else if (option == "--listing-delay")
        good = number(value, quirks.listingDelayMs);
    else if (option == "--dribble")
        good = number(value, quirks.dribbleGapMs);
    else if (option == "--pause")
        good = number(value, quirks.pauseMs);
    else if (option == "--pause-in")
        quirks.pauseCommand = value;
    else if (option == "--cms-error")
        good = refusal(value, quirks);
    else if (option == "--endless")
        quirks.endlessCommand = value;
    else
        quirks.silentCommand = value;
    return good ? 2 : -1;
}

} // namespace qb
