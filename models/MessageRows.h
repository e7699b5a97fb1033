#pragma once
// The cells of one message list row, built from an archive record or from an
// entry of the last phone read. Rows are plain values: the list's model only
// holds them, so 100 000 messages cost a few dozen bytes of cells each.
#include "archive/ArchiveTypes.h"
#include "archive/FolderTree.h"
#include "models/Icons.h"

#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qb {

struct MessageRow {
    QString text;  // "Сообщение", also the row's caption
    QString from;  // "От"
    QString date;  // "Дата/Время"
    QString index; // "Индекс", as stored: Outbox and Draft keep their leading blank
    int size = 0;  // "Размер": bytes of the text, one per character in Windows-1251
    Icon icon = Icon::None;
    int record = 0; // position k (from 1) of the record in the folder it came from
};

// The picture of a row, by folder kind, for phone and archive alike.
Icon rowIcon(FolderKind kind);
// Sent and unsent messages have no date; the column shows 16 hyphens instead.
inline const QString NoDate = QStringLiteral("----------------");

// Builds the rows of one fill. The phonebook is indexed once, and the "От"
// cell of a correspondent is made once and shared by all of its rows.
class MessageRowBuilder {
  public:
    MessageRowBuilder(FolderKind kind, const Phonebook& phonebook);

    // Set when the phonebook cannot be used for names; no row may be built then.
    const MaybeFailure& failure() const { return m_names.failure(); }
    MessageRow fromArchive(const ArchiveRecord& record, int k);
    // A phone entry's correspondent is derived with the status the read stored.
    MessageRow fromPhone(const ReadEntry& entry, int k);

  private:
    MessageRow build(const std::string& text, const std::string& index, const std::string& date,
                     const std::string& correspondent, int k);
    const QString& fromCell(const std::string& correspondent);
    QString unicode(std::string_view bytes) const;

    FolderKind m_kind;
    NameIndex m_names;
    std::unordered_map<std::string, QString> m_fromCells;
};

} // namespace qb
