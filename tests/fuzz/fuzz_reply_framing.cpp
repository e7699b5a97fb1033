// Any bytes as a reply to up to four commands: the first line names the
// commands ("|" between them), the rest is what the phone sent. Fed at once
// or byte by byte, the framing must come to the same reply.
#include "phonelink/ReplyFraming.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> commandsOf(std::string_view line) {
    std::vector<std::string> commands;
    while (!line.empty() && commands.size() < 4) {
        const std::size_t bar = line.find('|');
        commands.emplace_back(line.substr(0, bar));
        line.remove_prefix(bar == std::string_view::npos ? line.size() : bar + 1);
    }
    return commands;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    if (newline == std::string_view::npos)
        return 0;
    const std::vector<std::string> commands = commandsOf(input.substr(0, newline));
    const std::string_view bytes = input.substr(newline + 1);

    qb::ReplyFraming whole(commands);
    const std::size_t takenWhole = whole.feed(bytes);
    qb::ReplyFraming bytewise(commands);
    std::size_t takenBytewise = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        takenBytewise += bytewise.feed(bytes.substr(i, 1));

    if (takenWhole != takenBytewise || whole.reply() != bytewise.reply() ||
        whole.complete() != bytewise.complete() || whole.blind() != bytewise.blind() ||
        whole.codes().size() != bytewise.codes().size())
        std::abort();
    if (whole.codes().size() > commands.size() || takenWhole > bytes.size() ||
        whole.reply().size() > takenWhole)
        std::abort();
    // Only what was taken is held, and a whole reply ends at a line break.
    if (whole.complete() && !whole.reply().ends_with("\r\n"))
        std::abort();
    return 0;
}
