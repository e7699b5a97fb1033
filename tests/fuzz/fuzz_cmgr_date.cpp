// Any bytes as the reply to AT+CMGR, and as a time stamp on its own.
#include "codecs/Timestamp.h"
#include "reading/MessageReplies.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qb::LineList reply;
    reply.add(text);
    const std::string date = qb::parseCmgrDate(reply);
    // A date is "no time" or a whole one, never fragments without its separators.
    if (!date.empty() &&
        (date.find('/') == std::string::npos || date.find(',') == std::string::npos))
        std::abort();
    (void)qb::checkCmgrReply(reply, reply.lineView(0));
    (void)qb::normaliseTimestamp(text);
    return 0;
}
