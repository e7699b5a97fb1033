#include "models/MessageRows.h"

#include "archive/ArchiveFiles.h"
#include "core/Cp1251.h"
#include "models/Icons.h"

namespace qb {

Icon rowIcon(FolderKind kind) {
    switch (kind) {
    case FolderKind::Inbox:
        return Icon::InboxRow;
    case FolderKind::Outbox:
        return Icon::OutboxRow;
    case FolderKind::Draft:
        break;
    }
    return Icon::DraftRow;
}

MessageRowBuilder::MessageRowBuilder(FolderKind kind, const Phonebook& phonebook)
    : m_kind(kind), m_names(phonebook) {}

QString MessageRowBuilder::unicode(std::string_view bytes) const {
    return cp1251::toUnicode(bytes);
}

const QString& MessageRowBuilder::fromCell(const std::string& correspondent) {
    auto found = m_fromCells.find(correspondent);
    if (found == m_fromCells.end()) {
        const QString cell = unicode(displayCorrespondent(m_names, correspondent, m_kind));
        found = m_fromCells.emplace(correspondent, cell).first;
    }
    return found->second;
}

MessageRow MessageRowBuilder::build(const std::string& text, const std::string& index,
                                    const std::string& date, const std::string& correspondent,
                                    int k) {
    MessageRow row;
    row.text = unicode(text);
    row.from = fromCell(correspondent);
    row.date = m_kind == FolderKind::Inbox ? unicode(date) : NoDate;
    row.index = unicode(index);
    row.size = static_cast<int>(text.size());
    row.icon = rowIcon(m_kind);
    row.record = k;
    return row;
}

MessageRow MessageRowBuilder::fromArchive(const ArchiveRecord& record, int k) {
    return build(record.text, record.index, record.date, record.correspondent, k);
}

MessageRow MessageRowBuilder::fromPhone(const ReadEntry& entry, int k) {
    return build(entry.text, entry.index, entry.date,
                 deriveCorrespondent(entry.header, entry.index, entry.status), k);
}

} // namespace qb
