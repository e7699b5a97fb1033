#include "models/MessageRows.h"

#include "archive/RecordLines.h"
#include "core/ArchiveText.h"
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

const QString& MessageRowBuilder::fromCell(std::string_view number, FolderKind kind) {
    auto& cells = m_fromCells[kind == FolderKind::Inbox ? 0 : 1];
    auto found = cells.find(number);
    if (found == cells.end()) {
        const QString cell = archivetext::decode(displayCorrespondent(m_names, number, kind));
        found = cells.emplace(std::string(number), cell).first;
    }
    return found->second;
}

MessageRow MessageRowBuilder::build(const MessageView& message, FolderKind kind, int k) {
    MessageRow row;
    row.text = archivetext::decode(message.text);
    row.from = fromCell(message.number, kind);
    if (kind == FolderKind::Inbox) {
        m_line.clear();
        record::appendDateLine(m_line, message);
        row.date = cp1251::toUnicode(m_line);
    } else {
        row.date = NoDate;
    }
    m_line.clear();
    record::appendIndexLine(m_line, message);
    row.index = archivetext::decode(m_line);
    row.size = static_cast<int>(message.text.size());
    row.icon = rowIcon(kind);
    row.record = k;
    return row;
}

MessageRow MessageRowBuilder::fromArchive(const MessageView& message, int k) {
    return build(message, m_kind, k);
}

MessageRow MessageRowBuilder::fromPhone(const Message& message, int k) {
    return build(view(message), m_kind, k);
}

MessageRow MessageRowBuilder::fromFolder(const MessageView& message, FolderKind kind, int k) {
    return build(message, kind, k);
}

} // namespace qb
