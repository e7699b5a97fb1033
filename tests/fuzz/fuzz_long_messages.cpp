// Any bytes as the parts a phone's storages list, joined into messages: every
// part that is no status report lands in exactly one message, in its place.
#include "codecs/LongMessages.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t PartBytes = 8;
    std::vector<qb::StoredPdu> parts;
    int reports = 0;
    for (std::size_t at = 0; at + PartBytes <= size && parts.size() < 512; at += PartBytes) {
        const std::uint8_t* b = data + at;
        qb::StoredPdu part;
        part.location = {b[0] & 1 ? "SM" : "ME", b[1]};
        part.status = static_cast<qb::StoredStatus>(b[0] >> 1 & 3);
        part.pdu.kind = static_cast<qb::PduKind>((b[0] >> 3) % 3);
        reports += part.pdu.kind == qb::PduKind::StatusReport;
        part.pdu.address.number = QString::number(b[2] & 3);
        if (b[3] & 0x80)
            part.pdu.part = qb::ConcatPart{b[3] & 3, b[4] % 9, b[5] % 10 - 1};
        part.pdu.text = QString(QChar(char16_t(0xD800 + b[6])));
        if (b[7] & 1) {
            part.pdu.coding = qb::TextCoding::EightBit;
            part.pdu.data = QByteArray(1, char(b[7]));
        }
        if (b[7] & 2)
            part.pdu.time = qb::SmsTime{QDate(2009, 1 + b[7] % 12, 1), QTime(b[6] % 24, 0), {}};
        parts.push_back(part);
    }
    const std::size_t given = parts.size();
    const qb::JoinedMessages joined = qb::joinLongMessages(std::move(parts));
    std::size_t located = 0;
    int missing = 0;
    int incomplete = 0;
    for (const qb::JoinedMessage& m : joined.messages) {
        located += m.locations.size();
        missing += m.missingParts;
        incomplete += m.missingParts > 0;
        if (m.kind == qb::PduKind::StatusReport || m.missingParts < 0 ||
            m.missingParts >= m.parts || m.locations.empty())
            std::abort();
    }
    if (located + std::size_t(reports) != given || joined.statusReports != reports ||
        joined.missingParts != missing || joined.incompleteMessages != incomplete)
        std::abort();
    return 0;
}
