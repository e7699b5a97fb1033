// Any bytes as the reply to AT+CMGR, and as a time stamp on its own.
#include "codecs/Timestamp.h"
#include "reading/MessageReplies.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qb::LineList reply;
    reply.add(text);
    (void)qb::parseCmgrDate(reply);
    (void)qb::normaliseTimestamp(text);
    return 0;
}
