#include "archive/FolderTree.h"

#include "archive/ArchiveFiles.h"
#include "core/Cp1251.h"

#include <QString>
#include <algorithm>

namespace qb {
namespace {

// The text without its first `count` characters; empty when it is not longer.
std::string_view without(std::string_view text, std::size_t count) {
    return text.size() > count ? text.substr(count) : std::string_view();
}

const std::string& noName() {
    static const std::string text = cp1251::fromUnicode(QString::fromUtf8("Без имени"));
    return text;
}

} // namespace

NameIndex::NameIndex(const Phonebook& phonebook) : m_failure(damagedPhonebookCount(phonebook)) {

    const auto& entries = phonebook.entries;
    m_names.reserve(entries.size());
    m_byNumber.reserve(entries.size());
    m_byNumberFrom3.reserve(entries.size());
    m_byNumberFrom2.reserve(entries.size());
    // Later entries overwrite earlier ones: the last matching entry wins.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view number = entries[i].number;
        const int position = static_cast<int>(i);
        m_names.push_back(entries[i].name);
        m_byNumber.insert_or_assign(std::string(number), position);
        m_byNumberFrom3.insert_or_assign(std::string(without(number, 2)), position);
        m_byNumberFrom2.insert_or_assign(std::string(without(number, 1)), position);
    }
}

int NameIndex::find(const PositionMap& map, std::string_view key) {
    const auto it = map.find(key);
    return it == map.end() ? -1 : it->second;
}

std::optional<std::string> NameIndex::lookupName(std::string_view number, FolderKind kind) const {
    // Each map answers one matching rule with its last matching entry; the
    // last entry matching any rule is the highest of those answers.
    int best = std::max({find(m_byNumber, number), find(m_byNumberFrom3, number),
                         find(m_byNumber, without(number, 2))});
    if (kind == FolderKind::Inbox)
        best = std::max(best, find(m_byNumberFrom2, number));
    if (best < 0)
        return std::nullopt;
    return m_names[static_cast<std::size_t>(best)];
}

std::string displayCorrespondent(const NameIndex& names, std::string_view number, FolderKind kind) {
    const auto name = names.lookupName(number, kind);
    if (!name || *name == noName())
        return std::string(number);
    return *name + " (" + std::string(number) + ")";
}

} // namespace qb
