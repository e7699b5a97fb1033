#pragma once
// Times for the messages the archive holds no time for (sent and unsent ones,
// received ones with a damaged stamp), estimated from their place on the
// phone: the phone numbers its storage in one sequence across received, sent
// and unsent messages, so a message stored at index 7 was stored between the
// received messages with the nearest indexes below and above 7. A phone with
// several storages numbers each on its own: a message is placed among the
// received messages of its own storage.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb {

struct StoredMessage {
    std::optional<int> index;    // its storage index on the phone, when readable
    std::optional<int64_t> time; // milliseconds since the epoch, when known
    bool received = false;
    std::string storage{}; // "SM", "ME"; empty for a phone with one storage
};

// For each message in turn: its own time, or an estimate for one without.
// An estimate lies after the nearest earlier received message and no later
// than the next one; with only one of them, close beside it. Estimates
// between the same neighbours are distinct and follow the storage order
// (index, then the order given). None when no received message has a time,
// or the message's index cannot be read.
std::vector<std::optional<int64_t>> estimateTimes(const std::vector<StoredMessage>& messages);

} // namespace qb
