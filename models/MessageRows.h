#pragma once
// The cells of one message list row, built from a message of an archive
// folder or of the last phone read. Rows are plain values: the list's model
// only holds them, so 100 000 messages cost a few dozen bytes of cells each.
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
    QString text;   // "Сообщение", also the row's caption
    QString from;   // "От"
    QString date;   // "Дата/Время"
    QString index;  // "Индекс", as stored: Outbox and Draft keep their leading blank
    QString folder; // "Папка", of rows gathered from several folders
    int size = 0;   // "Размер": bytes of the text, one per character in Windows-1251
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
    // The row of message k (from 1) of an archive folder or of the last read.
    MessageRow fromArchive(const MessageView& message, int k);
    MessageRow fromPhone(const Message& message, int k);
    // The row of a message of a folder of `kind`, whatever kind the builder
    // was made for: a search's results and a conversation mix the folders.
    MessageRow fromFolder(const MessageView& message, FolderKind kind, int k);

  private:
    MessageRow build(const MessageView& message, FolderKind kind, int k);
    const QString& fromCell(std::string_view number, FolderKind kind);

    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };

    FolderKind m_kind;
    NameIndex m_names;
    // The received messages' cells, and the others': a name is looked up
    // by one more rule for a received message.
    std::unordered_map<std::string, QString, TextHash, std::equal_to<>> m_fromCells[2];
    std::string m_line; // room for a cell's bytes, kept from row to row
};

} // namespace qb
