#include "ui/MessageRows.h"

#include "archive/ArchiveFiles.h"
#include "core/Cp1251.h"
#include "ui/ImageList.h"

namespace qb::ui {

int rowIcon(FolderKind kind) {
    switch (kind) {
    case FolderKind::Inbox:
        return Image::InboxRow;
    case FolderKind::Outbox:
        return Image::OutboxRow;
    case FolderKind::Draft:
        break;
    }
    return Image::DraftRow;
}

namespace {

// The code page maps one byte to one character, so the cells of 100 000 rows
// are converted through a table taken once from the code page converter.
const std::array<char16_t, 256>& codePage() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> characters{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString one = cp1251::toUnicode(std::string_view(&byte, 1));
            characters[static_cast<std::size_t>(b)] =
                one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
        }
        return characters;
    }();
    return table;
}

} // namespace

MessageRowBuilder::MessageRowBuilder(FolderKind kind, const Phonebook& phonebook)
    : m_kind(kind), m_names(phonebook), m_codePage(codePage()) {}

QString MessageRowBuilder::unicode(std::string_view bytes) const {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(m_codePage[static_cast<unsigned char>(byte)]);
    return text;
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
    return build(record.Text, record.Index, record.Date, record.Correspondent, k);
}

MessageRow MessageRowBuilder::fromPhone(const ReadEntry& entry, int k) {
    return build(entry.Text, entry.Index, entry.Date,
                 deriveCorrespondent(entry.Header, entry.Index, entry.Status), k);
}

} // namespace qb::ui
