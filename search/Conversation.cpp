#include "search/Conversation.h"

#include "export/smartphone/EstimatedDates.h"

#include <QMultiHash>
#include <algorithm>
#include <tuple>

namespace qb {
namespace {

bool sameMessage(const ConversationEntry& a, const ConversationEntry& b) {
    const bool timesComparable = !a.time.estimated && !b.time.estimated;
    return a.direction == b.direction && a.storageIndex == b.storageIndex &&
           a.correspondent == b.correspondent && a.text == b.text &&
           (!timesComparable || a.time.time == b.time.time);
}

// Storage indexes are compared as numbers; an unreadable one sorts last.
auto orderKey(const ConversationEntry& e) {
    const bool undated = !e.time.time.has_value();
    return std::tuple(undated, e.time.time.value_or(0), undated && e.source == MessageSource::Phone,
                      !e.storageIndex.has_value(), e.storageIndex.value_or(0));
}

} // namespace

std::vector<PlacedTime> placeInTime(const std::vector<TimelineMessage>& messages) {
    std::vector<StoredMessage> stored;
    stored.reserve(messages.size());
    for (const TimelineMessage& m : messages)
        stored.push_back({m.storageIndex, m.time, m.direction == MessageDirection::Received});
    const std::vector<std::optional<int64_t>> times = estimateTimes(stored);
    std::vector<PlacedTime> placed(messages.size());
    for (std::size_t k = 0; k < messages.size(); ++k)
        placed[k] = {times[k], !messages[k].time && times[k]};
    return placed;
}

std::vector<ConversationEntry> orderConversation(std::vector<ConversationEntry> entries) {
    QMultiHash<QString, const ConversationEntry*> archived; // by text
    for (const ConversationEntry& e : entries)
        if (e.source == MessageSource::Archive)
            archived.insert(e.text, &e);
    std::vector<bool> copied(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (entries[k].source != MessageSource::Phone)
            continue;
        const auto [from, to] = archived.equal_range(entries[k].text);
        copied[k] = std::any_of(from, to, [&](auto* a) { return sameMessage(entries[k], *a); });
    }
    std::vector<ConversationEntry> kept;
    kept.reserve(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (!copied[k])
            kept.push_back(std::move(entries[k]));
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return orderKey(a) < orderKey(b); });
    return kept;
}

} // namespace qb
