#include "codecs/LongMessages.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace qb {
namespace {

// What the parts of one message share.
using PartKey = std::tuple<PduKind, int, QString, int>;

PartKey keyOf(const DecodedPdu& pdu) {
    return {pdu.kind, pdu.part->reference, pdu.address.number, pdu.part->count};
}

// A long message being put together.
struct Assembly {
    std::size_t firstListed = 0;                    // to keep the listing's order
    std::vector<std::optional<StoredPdu>> places;   // by sequence - 1
    std::vector<std::vector<StorageLocation>> held; // every place each part lies in
};

// A part numbered 0 or past its count (the decoder gives none) stands alone.
bool isLong(const StoredPdu& stored) {
    const auto& part = stored.pdu.part;
    return part && part->count > 1 && part->sequence >= 1 && part->sequence <= part->count;
}

// Parts with a time stamp in time order, then the others; listing order
// among equals.
std::vector<std::size_t> readingOrder(const std::vector<StoredPdu>& parts) {
    std::vector<std::pair<QDateTime, std::size_t>> keys;
    keys.reserve(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto& time = parts[i].pdu.time;
        keys.emplace_back(time ? time->toDateTime() : QDateTime(), i);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        if (a.first.isValid() != b.first.isValid())
            return a.first.isValid();
        return a.first.isValid() && a.first < b.first;
    });
    std::vector<std::size_t> order;
    order.reserve(keys.size());
    for (const auto& key : keys)
        order.push_back(key.second);
    return order;
}

void place(std::vector<Assembly>& assemblies, StoredPdu stored, std::size_t listed) {
    const auto slot = static_cast<std::size_t>(stored.pdu.part->sequence - 1);
    for (Assembly& a : assemblies) {
        if (!a.places[slot]) {
            a.firstListed = std::min(a.firstListed, listed);
            a.held[slot].push_back(stored.location);
            a.places[slot] = std::move(stored);
            return;
        }
        if (a.places[slot]->pdu.text == stored.pdu.text &&
            a.places[slot]->pdu.data == stored.pdu.data) {
            a.held[slot].push_back(stored.location);
            return;
        }
    }
    Assembly a;
    const auto count = static_cast<std::size_t>(stored.pdu.part->count);
    a.firstListed = listed;
    a.places.resize(count);
    a.held.resize(count);
    a.held[slot].push_back(stored.location);
    a.places[slot] = std::move(stored);
    assemblies.push_back(std::move(a));
}

JoinedMessage single(StoredPdu stored) {
    JoinedMessage m;
    m.kind = stored.pdu.kind;
    m.status = stored.status;
    m.address = std::move(stored.pdu.address);
    m.time = stored.pdu.time;
    m.text = std::move(stored.pdu.text);
    m.locations = {std::move(stored.location)};
    return m;
}

// 8-bit data is dumped once for the whole message, not part by part.
bool allEightBit(const Assembly& a) {
    return std::all_of(a.places.begin(), a.places.end(),
                       [](const auto& p) { return !p || p->pdu.coding == TextCoding::EightBit; });
}

JoinedMessage joined(Assembly& a) {
    JoinedMessage m;
    m.parts = static_cast<int>(a.places.size());
    const bool data = allEightBit(a);
    QByteArray bytes;
    bool first = true;
    for (std::size_t i = 0; i < a.places.size(); ++i) {
        auto& part = a.places[i];
        if (!part) {
            ++m.missingParts;
            if (data)
                m.text += markedHexDump(std::exchange(bytes, {}));
            m.text += MissingPartMark;
            continue;
        }
        if (first) {
            m.kind = part->pdu.kind;
            m.status = part->status;
            m.address = part->pdu.address;
            m.time = part->pdu.time;
            first = false;
        }
        if (part->status == StoredStatus::ReceivedUnread)
            m.status = StoredStatus::ReceivedUnread;
        if (data)
            bytes += part->pdu.data;
        else
            m.text += part->pdu.text;
        m.locations.insert(m.locations.end(), a.held[i].begin(), a.held[i].end());
    }
    if (data && !bytes.isEmpty())
        m.text += markedHexDump(bytes);
    return m;
}

} // namespace

JoinedMessages joinLongMessages(std::vector<StoredPdu> parts) {
    JoinedMessages result;
    std::map<PartKey, std::vector<Assembly>> assemblies;
    std::vector<std::pair<std::size_t, JoinedMessage>> listed;
    for (const std::size_t i : readingOrder(parts)) {
        StoredPdu& stored = parts[i];
        if (stored.pdu.kind == PduKind::StatusReport) {
            ++result.statusReports;
        } else if (isLong(stored)) {
            auto& group = assemblies[keyOf(stored.pdu)];
            place(group, std::move(stored), i);
        } else {
            listed.emplace_back(i, single(std::move(stored)));
        }
    }
    for (auto& [key, group] : assemblies)
        for (Assembly& a : group) {
            JoinedMessage m = joined(a);
            if (m.missingParts > 0) {
                ++result.incompleteMessages;
                result.missingParts += m.missingParts;
            }
            listed.emplace_back(a.firstListed, std::move(m));
        }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [at, message] : listed)
        result.messages.push_back(std::move(message));
    return result;
}

} // namespace qb
