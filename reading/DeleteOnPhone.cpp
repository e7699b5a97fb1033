#include "reading/DeleteOnPhone.h"

#include "core/LineList.h"

#include <algorithm>
#include <set>

namespace qb {
namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Positions 1 .. kept take the entries not deleted, in ascending k; the rest
// stays as it was, since only countMark says how many are valid.
void keepUndeleted(ReadFolder& folder, const std::set<int>& deleted)
{
    const int count = std::max(folder.count().value_or(0), 0);
    std::vector<ReadEntry> kept;
    for (int k = 1; k <= count; ++k) {
        if (!deleted.contains(k))
            kept.push_back(folder.at(k));
    }
    for (std::size_t i = 0; i < kept.size(); ++i)
        folder.at(static_cast<int>(i) + 1) = std::move(kept[i]);
    folder.countMark = std::to_string(static_cast<int>(kept.size()) - 1);
}

} // namespace

bool deletionConfirmed(std::string_view reply)
{
    LineList lines;
    lines.add(reply);
    for (int i = lines.count() - 1; i >= 0; --i) {
        const std::string_view line = trimmed(lines.lineView(i));
        if (!line.empty())
            return line == "OK";
    }
    return false;
}

DeleteOutcome deleteOnPhone(const PortSource& port, Progress& progress, FolderKind folder,
                            const std::vector<DeleteRow>& rows, ReadResult& result)
{
    DeleteOutcome outcome;
    PhoneLine line(port);
    if (rows.empty())
        return outcome;
    AtPort* current = port ? port() : nullptr;
    if (!current || !current->isOpen())
        return {DeleteOutcome::Kind::NoPort, {}, 0};

    const bool counted = rows.size() > 1;
    progress.setPosition(0);
    progress.setMaximum(counted ? static_cast<int>(rows.size()) : 0);
    progress.setVisible(true);
    std::set<int> deleted;
    for (const DeleteRow& row : rows) {
        const bool sent = line.exchange({"AT+CMGF=0"}) && line.send("AT+CMGD=" + row.indexCell);
        const auto reply = sent ? line.reply() : std::nullopt;
        if (reply && deletionConfirmed(*reply)) {
            deleted.insert(row.k);
            outcome.deleted.push_back(row.k);
        } else {
            ++outcome.notDeleted;
        }
        if (counted)
            progress.setPosition(progress.position() + 1);
    }
    keepUndeleted(result.folder(folder), deleted);
    progress.setVisible(false);
    return outcome;
}

} // namespace qb
