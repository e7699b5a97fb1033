#include "export/smartphone/EstimatedDates.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

namespace qb {
namespace {

constexpr int64_t Second = 1000;

struct Dated {
    int index;
    int64_t time;
    bool operator<(const Dated& other) const {
        return std::pair(index, time) < std::pair(other.index, other.time);
    }
};

// Times for `count` messages after `earlier` and no later than `later` (either
// may be missing, not both): a second apart, as a reply usually follows
// closely, or spread evenly over a gap too short for that.
std::vector<int64_t> spread(const Dated* earlier, const Dated* later, int64_t count) {
    std::vector<int64_t> times;
    if (!earlier) { // only a later neighbour: just before it
        for (int64_t k = count; k >= 1; --k)
            times.push_back(later->time - k * Second);
        return times;
    }
    const int64_t from = earlier->time;
    int64_t step = Second;
    if (later && later->time > from && from + count * Second > later->time)
        step = std::max<int64_t>((later->time - from) / (count + 1), 1);
    for (int64_t k = 1; k <= count; ++k)
        times.push_back(from + k * step);
    return times;
}

std::vector<std::optional<int64_t>>
estimateInOneStorage(const std::vector<StoredMessage>& messages);

} // namespace

std::vector<std::optional<int64_t>> estimateTimes(const std::vector<StoredMessage>& messages) {
    std::map<std::string_view, std::vector<std::size_t>> byStorage;
    for (std::size_t i = 0; i < messages.size(); ++i)
        byStorage[messages[i].storage].push_back(i);
    if (byStorage.size() <= 1)
        return estimateInOneStorage(messages);
    std::vector<std::optional<int64_t>> times(messages.size());
    for (const auto& [storage, positions] : byStorage) {
        std::vector<StoredMessage> one;
        one.reserve(positions.size());
        for (const std::size_t i : positions)
            one.push_back(messages[i]);
        const std::vector<std::optional<int64_t>> estimated = estimateInOneStorage(one);
        for (std::size_t k = 0; k < positions.size(); ++k)
            times[positions[k]] = estimated[k];
    }
    return times;
}

namespace {

std::vector<std::optional<int64_t>>
estimateInOneStorage(const std::vector<StoredMessage>& messages) {
    std::vector<std::optional<int64_t>> times(messages.size());
    std::vector<Dated> received;
    for (const StoredMessage& m : messages)
        if (m.received && m.time && m.index)
            received.push_back({*m.index, *m.time});
    std::sort(received.begin(), received.end());

    // The undated messages by their pair of neighbours (positions in
    // `received`), each group in storage order.
    std::map<std::pair<std::size_t, std::size_t>, std::vector<std::pair<int, std::size_t>>> groups;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const StoredMessage& m = messages[i];
        times[i] = m.time;
        if (m.time || !m.index || received.empty())
            continue;
        const int index = *m.index;
        const auto below = std::lower_bound(received.begin(), received.end(), index,
                                            [](const Dated& d, int x) { return d.index < x; });
        const auto above = std::upper_bound(received.begin(), received.end(), index,
                                            [](int x, const Dated& d) { return x < d.index; });
        groups[{std::size_t(below - received.begin()), std::size_t(above - received.begin())}]
            .push_back({index, i});
    }
    for (auto& [neighbours, members] : groups) {
        std::sort(members.begin(), members.end());
        const auto [below, above] = neighbours;
        // The latest of the received messages at the nearest lower index, the
        // earliest at the nearest higher one.
        const Dated* earlier = below > 0 ? &received[below - 1] : nullptr;
        const Dated* later = above < received.size() ? &received[above] : nullptr;
        // Every received message shares the index: an archive gathered over
        // several reads holds indexes the phone gave out again. The latest of
        // them is the nearest.
        if (!earlier && !later)
            earlier = &received[above - 1];
        const std::vector<int64_t> estimates = spread(earlier, later, int64_t(members.size()));
        for (std::size_t k = 0; k < members.size(); ++k)
            times[members[k].second] = estimates[k];
    }
    return times;
}

} // namespace

} // namespace qb
