#include "controllers/ListPrint.h"

#include "archive/RecordFields.h"

#include <QDateTime>

namespace qb {
namespace {

std::optional<QDateTime> ownTime(const MessageView& message, FolderKind kind) {
    if (kind != FolderKind::Inbox)
        return std::nullopt;
    const std::optional<MessageTime> time =
        record::fields::timeOf(message.stored.dateLine.value_or(std::string_view()));
    if (!time)
        return std::nullopt;
    const QDateTime local(QDate(time->year, time->month, time->day),
                          QTime(time->hour, time->minute, time->second));
    return local.isValid() ? std::optional(local) : std::nullopt;
}

} // namespace

PrintedDocument printedRows(const QString& title, const FolderRows& rows,
                            const std::vector<MessageListModel::Entry>& entries,
                            const std::vector<int>& listRows,
                            const GatheredConversation* conversation) {
    PrintedDocument document;
    document.title = title;
    document.messages.reserve(listRows.size());
    const std::unique_ptr<MessageRowBuilder> builder = rows.builder();
    for (const int r : listRows) {
        const int position = entries[static_cast<std::size_t>(r)].position;
        const MessageRow row = rows.row(*builder, position);
        const FolderKind kind = rows.kindOf(position);
        PrintedMessage message;
        message.direction = directionOf(kind);
        message.correspondent = row.from;
        message.text = row.text;
        if (conversation && std::size_t(position) < conversation->entries.size()) {
            const PlacedTime& placed = conversation->entries[std::size_t(position)].time;
            if (placed.time)
                message.time = QDateTime::fromMSecsSinceEpoch(*placed.time);
            message.timeEstimated = placed.estimated;
        } else {
            message.time = ownTime(rows.message(position), kind);
        }
        document.messages.push_back(std::move(message));
    }
    return document;
}

} // namespace qb
