// Any bytes as the replies to AT+CPBR=? and to at+cpbr=1,<end>, and as UCS2 digits.
#include "codecs/Ucs2Decoder.h"
#include "reading/PhonebookReplies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The range end becomes part of a command line, which must stay one line.
    const std::optional<std::string> end = qb::parsePhonebookRangeEnd(text);
    if (end &&
        (end->empty() || end->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos))
        std::abort();
    qb::LineList reply;
    reply.add(text);
    for (const qb::PhonebookEntry& entry : qb::parsePhonebookEntries(reply)) {
        if (entry.name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            std::abort();
    }
    const std::string decoded = qb::decodeUcs2Hex(text);
    if (decoded.size() > size / 4)
        std::abort();
    return 0;
}
