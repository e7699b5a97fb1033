#pragma once
// How a message's fields are read from the lines of its record: the other
// half of RecordLines.h. Defined here, inline, because every look at an
// archive message runs them: a list of 100 000 rows, an export, a search.
#include "archive/Message.h"
#include "core/Failure.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

namespace qb::record {
namespace fields {

// Room for a blank and any int in decimal.
struct Digits {
    char bytes[16];
    std::size_t size = 0;
    std::string_view text() const { return {bytes, size}; }
};

// The index line of an index written plainly: its digits, after a blank for
// a sent or unsent message; without an index, nothing but that blank.
inline Digits plainIndexLine(FolderKind kind, std::optional<int> index) {
    Digits line;
    char* at = line.bytes;
    if (kind != FolderKind::Inbox)
        *at++ = ' ';
    if (index)
        at = std::to_chars(at, line.bytes + sizeof line.bytes, *index).ptr;
    line.size = static_cast<std::size_t>(at - line.bytes);
    return line;
}

inline bool isPlainIndexLine(FolderKind kind, std::string_view line, std::optional<int> index) {
    return plainIndexLine(kind, index).text() == line;
}

// The index a line holds by the blank-led rule (blanks, then a whole
// number), and whether the line is that index written plainly. Nearly every
// line is: one to nine digits without a leading zero, after a blank for a
// sent or unsent message. Those are taken in one pass; the rest by the
// general rule.
inline std::optional<int> indexOf(FolderKind kind, std::string_view line, bool& plain) {
    const std::size_t blanks = kind == FolderKind::Inbox ? 0 : 1;
    const std::size_t digits = line.size() - blanks;
    if (line.size() > blanks && digits <= 9 && (blanks == 0 || line[0] == ' ') &&
        (line[blanks] != '0' || digits == 1)) {
        unsigned value = 0; // wraps harmlessly over what is no digit
        bool allDigits = true;
        for (std::size_t i = blanks; i < line.size(); ++i) {
            const unsigned digit = static_cast<unsigned char>(line[i]) - unsigned('0');
            allDigits = allDigits && digit <= 9;
            value = value * 10 + digit;
        }
        if (allDigits) {
            plain = true;
            return static_cast<int>(value);
        }
    }
    const std::optional<int> index = parseBlankLedNumber(line);
    plain = isPlainIndexLine(kind, line, index);
    return index;
}

template <class Message> void setIndexFrom(Message& message, std::string_view line) {
    bool plain = false;
    message.index = indexOf(message.folder, line, plain);
    if (!plain)
        message.stored.indexLine = line;
}

inline bool startsWith(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && std::memcmp(text.data(), start.data(), start.size()) == 0;
}

inline MessageStatus statusOf(FolderKind kind, std::string_view header) {
    if (kind == FolderKind::Outbox)
        return MessageStatus::Sent;
    if (kind == FolderKind::Draft)
        return MessageStatus::Unsent;
    // Taken the way the phone read sorts listing lines into folders: without
    // any quote the text is looked at from its start.
    const auto quote = header.find('"');
    const auto after = quote == std::string_view::npos ? header : header.substr(quote + 1);
    if (startsWith(after, "REC READ"))
        return MessageStatus::Read;
    if (startsWith(after, "REC UNREAD"))
        return MessageStatus::Unread;
    return MessageStatus::None;
}

// A received record without a status (only an edited file holds one) has no
// defined position; the text between the last two quotes is what a
// well-formed header would have given.
inline std::string_view textBetweenLastQuotes(std::string_view header) {
    const auto close = header.rfind('"');
    if (close == std::string_view::npos || close == 0)
        return {};
    const auto open = header.rfind('"', close - 1);
    if (open == std::string_view::npos)
        return {};
    return header.substr(open + 1, close - open - 1);
}

// The number runs from a fixed position to the header's last character,
// which is the closing quote. The position, counted from 1, is the index
// line's length plus an offset that depends on how long the quoted status is.
inline std::string_view numberOf(std::string_view header, std::string_view indexLine,
                                 MessageStatus status) {
    int offset = 0;
    switch (status) {
    case MessageStatus::Read:
        offset = 23;
        break;
    case MessageStatus::Unread:
        offset = 25;
        break;
    case MessageStatus::Sent:
        offset = 22;
        break;
    case MessageStatus::Unsent:
        offset = 24;
        break;
    case MessageStatus::None:
        return textBetweenLastQuotes(header);
    }
    const std::size_t p = indexLine.size() + static_cast<std::size_t>(offset);
    if (p >= header.size())
        return {};
    return header.substr(p - 1, header.size() - p);
}

inline int twoDigits(std::string_view text, std::size_t at) {
    const auto digit = [&](std::size_t i) {
        const char c = text[i];
        return c >= '0' && c <= '9' ? c - '0' : -1000;
    };
    return digit(at) * 10 + digit(at + 1);
}

// "DD/MM/YYYY,hh:mm:ss" at the start of the line, a real date and time. What
// follows the seconds (a zone an import kept) takes no part in the time.
// Phones that stamp a two-digit year ("05/01/02,12:34:56+12", year first)
// were normalised into "02/01/05/0,12:34:56+12": the year's digits, a
// solidus and the month's first digit in place of the four-digit year.
inline std::optional<MessageTime> timeOf(std::string_view line) {
    if (line.size() < 19 || line[2] != '/' || line[5] != '/' || line[10] != ',' ||
        line[13] != ':' || line[16] != ':')
        return std::nullopt;
    const bool twoDigitYear =
        line[8] == '/' && (line[9] == line[3] || (line[3] == '0' && line[9] == line[4]));
    const int century = twoDigits(line, 6) >= 90 ? 19 : 20;
    const int fields[] = {twoDigits(line, 0),
                          twoDigits(line, 3),
                          twoDigitYear ? century : twoDigits(line, 6),
                          twoDigitYear ? twoDigits(line, 6) : twoDigits(line, 8),
                          twoDigits(line, 11),
                          twoDigits(line, 14),
                          twoDigits(line, 17)};
    for (const int field : fields) {
        if (field < 0)
            return std::nullopt;
    }
    MessageTime time;
    time.year = static_cast<std::int16_t>(fields[2] * 100 + fields[3]);
    time.month = static_cast<std::int8_t>(fields[1]);
    time.day = static_cast<std::int8_t>(fields[0]);
    time.hour = static_cast<std::int8_t>(fields[4]);
    time.minute = static_cast<std::int8_t>(fields[5]);
    time.second = static_cast<std::int8_t>(fields[6]);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

// The time as a date line, DD/MM/YYYY,hh:mm:ss: 19 characters at `out`.
inline void writeDateLine(char* out, const MessageTime& time) {
    const auto put = [&out](int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            out[i] = static_cast<char>('0' + value % 10);
        out += width;
    };
    const auto mark = [&out](char c) { *out++ = c; };
    put(time.day, 2);
    mark('/');
    put(time.month, 2);
    mark('/');
    put(time.year, 4);
    mark(',');
    put(time.hour, 2);
    mark(':');
    put(time.minute, 2);
    mark(':');
    put(time.second, 2);
}

// Whether the date line is the time written plainly, nothing before or after.
inline bool isPlainDateLine(std::string_view line, const std::optional<MessageTime>& time) {
    if (!time)
        return line.empty();
    char plain[19];
    writeDateLine(plain, *time);
    return line == std::string_view(plain, sizeof plain);
}

template <class Message> void setTimeFrom(Message& message, std::string_view line) {
    message.time = timeOf(line);
    if (!isPlainDateLine(line, message.time))
        message.stored.dateLine = line;
}

} // namespace fields

// A message from the lines of one record, as a reader sees them. Its texts
// are views into those lines; the lines its fields would not give back byte
// for byte are kept in `stored`.
inline MessageView read(FolderKind kind, std::string_view text, std::string_view indexLine,
                        std::string_view header, std::string_view dateLine) {
    MessageView message;
    message.folder = kind;
    message.text = text;
    fields::setIndexFrom(message, indexLine);
    message.status = fields::statusOf(kind, header);
    message.number = fields::numberOf(header, indexLine, message.status);
    message.stored.header = header;
    if (kind == FolderKind::Inbox)
        fields::setTimeFrom(message, dateLine);
    return message;
}

} // namespace qb::record
