#include "archive/RecordLines.h"

#include "archive/RecordFields.h"
#include "codecs/Timestamp.h"

namespace qb::record {

std::string_view statusWord(MessageStatus status) {
    switch (status) {
    case MessageStatus::Read:
        return "REC READ";
    case MessageStatus::Unread:
        return "REC UNREAD";
    case MessageStatus::Sent:
        return "STO SENT";
    case MessageStatus::Unsent:
        return "STO UNSENT";
    case MessageStatus::None:
        break;
    }
    return {};
}

void appendIndexLine(std::string& out, const MessageView& message) {
    if (message.stored.indexLine)
        out += *message.stored.indexLine;
    else
        out += fields::plainIndexLine(message.folder, message.index).text();
}

std::string indexLine(const MessageView& message) {
    std::string line;
    appendIndexLine(line, message);
    return line;
}

void appendHeader(std::string& out, const MessageView& message) {
    if (message.stored.header) {
        out += *message.stored.header;
        return;
    }
    out += "+MMGL: ";
    out += fields::plainIndexLine(FolderKind::Inbox, message.index).text();
    out += ", \"";
    out += statusWord(message.status);
    out += "\", \"";
    out += message.number;
    out += '"';
}

void appendDateLine(std::string& out, const MessageView& message) {
    if (message.stored.dateLine)
        out += *message.stored.dateLine;
    else if (message.time) {
        char line[19];
        fields::writeDateLine(line, *message.time);
        out.append(line, sizeof line);
    }
}

void appendRecord(std::string& out, const MessageView& message) {
    out += message.text;
    out += "\r\n";
    appendIndexLine(out, message);
    out += "\r\n";
    appendHeader(out, message);
    out += "\r\n";
    if (message.folder == FolderKind::Inbox) {
        appendDateLine(out, message);
        out += "\r\n";
    }
}

void appendKey(std::string& out, const MessageView& message, std::optional<std::string_view> text) {
    out += text ? *text : message.text;
    appendIndexLine(out, message);
    appendHeader(out, message);
    if (message.folder == FolderKind::Inbox)
        appendDateLine(out, message);
}

Message listed(FolderKind kind, MessageStatus status, std::string header,
               std::string_view indexField, std::string text) {
    // Received indexes have always been stored without the blank after the
    // colon, sent and unsent ones with it.
    const std::string_view indexLine =
        kind == FolderKind::Inbox ? indexField.substr(indexField.empty() ? 0 : 1) : indexField;
    Message message;
    message.folder = kind;
    message.status = status;
    fields::setIndexFrom(message, indexLine);
    message.number = std::string(fields::numberOf(header, indexLine, status));
    message.stored.header = std::move(header);
    message.text = std::move(text);
    return message;
}

void setStamp(Message& message, std::optional<std::string_view> stamp) {
    message.stored.dateLine.reset();
    fields::setTimeFrom(message, stamp ? normaliseTimestamp(*stamp) : std::string());
}

} // namespace qb::record
