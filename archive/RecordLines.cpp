#include "archive/RecordLines.h"

#include "archive/RecordFields.h"
#include "codecs/Timestamp.h"
#include "core/ArchiveText.h"

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

namespace {

std::string placesText(const std::vector<StorageLocation>& locations) {
    std::string text;
    for (const StorageLocation& at : locations) {
        if (!text.empty())
            text += ',';
        text += at.storage;
        text += std::to_string(at.index);
    }
    return text;
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "SM5": a storage name of capitals, then the index.
std::optional<StorageLocation> place(std::string_view text) {
    std::size_t letters = 0;
    while (letters < text.size() && isUpper(text[letters]))
        ++letters;
    const std::string_view digits = text.substr(letters);
    if (letters == 0 || letters > 4 || digits.empty() || digits.size() > 9)
        return std::nullopt;
    int index = 0;
    for (const char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        index = index * 10 + (c - '0');
    }
    return StorageLocation{std::string(text.substr(0, letters)), index};
}

} // namespace

Message phoneMessage(FolderKind kind, MessageStatus status, std::string number,
                     const std::vector<StorageLocation>& locations, std::string text,
                     std::optional<MessageTime> time) {
    const std::string places = placesText(locations);
    Message message;
    message.folder = kind;
    message.status = status;
    message.stored.indexLine = kind == FolderKind::Inbox ? places : ' ' + places;
    std::string header = "+CMGL: " + places + ", \"";
    header += statusWord(status);
    header += "\", \"" + number + '"';
    message.stored.header = std::move(header);
    message.number = std::move(number);
    message.text = std::move(text);
    if (kind == FolderKind::Inbox)
        message.time = time;
    return message;
}

std::optional<Message> asListedUnread(const MessageView& message) {
    if (message.folder != FolderKind::Inbox || message.status != MessageStatus::Read)
        return std::nullopt;
    const std::string line = indexLine(message);
    const std::vector<StorageLocation> places = phoneLocations(line);
    if (places.empty() || !message.stored.header || !message.stored.header->starts_with("+CMGL: "))
        return std::nullopt;
    Message unread =
        phoneMessage(FolderKind::Inbox, MessageStatus::Unread, std::string(message.number), places,
                     std::string(message.text), message.time);
    unread.stored.dateLine = message.stored.dateLine;
    return unread;
}

std::optional<std::string> droppingDecoderText(const MessageView& message) {
    if (!archivetext::holdsEscape(message.text) || !phoneLocations(indexLine(message)).empty())
        return std::nullopt;
    return archivetext::withoutEscapes(message.text);
}

std::vector<StorageLocation> phoneLocations(std::string_view indexLine) {
    if (!indexLine.empty() && indexLine.front() == ' ')
        indexLine.remove_prefix(1);
    std::vector<StorageLocation> found;
    while (!indexLine.empty()) {
        const std::size_t comma = indexLine.find(',');
        const auto at = place(indexLine.substr(0, comma));
        if (!at)
            return {};
        found.push_back(*at);
        if (comma == std::string_view::npos)
            break;
        indexLine.remove_prefix(comma + 1);
        if (indexLine.empty())
            return {};
    }
    return found;
}

} // namespace qb::record
