#include "reading/StorageReplies.h"

#include <algorithm>

namespace qb {
namespace {

constexpr std::string_view Prefix = "+CPMS:";

ReplyError noCpmsLine() {
    return {"no +CPMS: line", {}};
}

std::vector<std::string> names(std::string_view group) {
    std::vector<std::string> list;
    const std::string_view inside = unquoteGroup(group);
    if (inside.empty())
        return list;
    for (const std::string_view field : splitFields(inside))
        if (const std::string_view name = unquote(field); !name.empty())
            list.push_back(upperAscii(name));
    return list;
}

bool offers(const std::vector<std::string>& offered, std::string_view name) {
    return std::find(offered.begin(), offered.end(), name) != offered.end();
}

} // namespace

Parsed<OfferedStorages> parseOfferedStorages(std::string_view reply) {
    const auto rest = firstWithPrefix(reply, Prefix);
    if (!rest)
        return noCpmsLine();
    const std::vector<std::string_view> groups = splitFields(*rest);
    if (groups.size() > 3)
        return ReplyError{"more than three groups of storages", std::string(*rest)};
    OfferedStorages offered;
    std::vector<std::string>* lists[] = {&offered.read, &offered.write, &offered.receive};
    for (std::size_t i = 0; i < groups.size(); ++i)
        *lists[i] = names(groups[i]);
    return offered;
}

std::vector<std::string> storagesToRead(const std::vector<std::string>& offered) {
    const bool sim = offers(offered, "SM");
    const bool phone = offers(offered, "ME");
    if (sim && phone)
        return {"SM", "ME"};
    if (offers(offered, "MT"))
        return {"MT"};
    if (sim)
        return {"SM"};
    if (phone)
        return {"ME"};
    return {};
}

Parsed<std::vector<SelectedStorage>> parseSelectedStorages(std::string_view reply) {
    const auto rest = firstWithPrefix(reply, Prefix);
    if (!rest)
        return noCpmsLine();
    const std::vector<std::string_view> fields = splitFields(*rest);
    if (fields.size() % 3 != 0 || fields.empty())
        return ReplyError{"not storages with their counts", std::string(*rest)};
    std::vector<SelectedStorage> selected;
    for (std::size_t i = 0; i < fields.size(); i += 3) {
        const auto used = wholeNumber(fields[i + 1]);
        const auto total = wholeNumber(fields[i + 2]);
        if (!used || !total || unquote(fields[i]).empty())
            return ReplyError{"not a storage with its counts", std::string(*rest)};
        selected.push_back({upperAscii(unquote(fields[i])), {*used, *total}});
    }
    return selected;
}

Parsed<StorageUse> parseStorageChosen(std::string_view reply) {
    const auto rest = firstWithPrefix(reply, Prefix);
    if (!rest)
        return noCpmsLine();
    std::vector<std::string_view> fields = splitFields(*rest);
    if (!fields.empty() && !wholeNumber(fields[0]))
        fields.erase(fields.begin()); // a name in front of the counts
    if (fields.size() < 2)
        return ReplyError{"no counts", std::string(*rest)};
    const auto used = wholeNumber(fields[0]);
    const auto total = wholeNumber(fields[1]);
    if (!used || !total)
        return ReplyError{"counts that are no numbers", std::string(*rest)};
    return StorageUse{*used, *total};
}

} // namespace qb
