// Any bytes as the reply to AT+CMGR, and as a time stamp on its own.
#include "archive/RecordLines.h"
#include "codecs/Timestamp.h"
#include "reading/MessageReplies.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qb::LineList reply;
    reply.add(text);
    qb::Message message;
    qb::record::setStamp(message, qb::parseCmgrStamp(reply));
    std::string date;
    qb::record::appendDateLine(date, qb::view(message));
    // A date is "no time" or a whole one, never fragments without its separators.
    if (!date.empty() &&
        (date.find('/') == std::string::npos || date.find(',') == std::string::npos))
        std::abort();
    if (message.time && !message.time->isValid())
        std::abort();
    (void)qb::checkCmgrReply(reply, reply.lineView(0));
    (void)qb::normaliseTimestamp(text);
    return 0;
}
