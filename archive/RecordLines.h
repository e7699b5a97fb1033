#pragma once
// How a folder file holds a message: the one place that knows the record
// layout and its inherited rules. A record is one line per field:
//   Inbox:          text, index ("5"),  header, date ("02/01/2005,09:05:03")
//   Outbox, Draft:  text, index (" 5"), header
// The index of a sent or unsent message keeps the blank the phone put after
// the colon; the header is the phone's listing line, exactly as it came:
//   +MMGL: 5, "REC READ", "+79161234567"
// and the message's status and number are taken from it by their positions.
// Every line is followed by CR LF in the file; a reader sees at most the
// first 4096 characters of a line.
#include "archive/Message.h"
#include "codecs/LongMessages.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::record {

// Lines per record.
constexpr int lineCount(FolderKind kind) {
    return kind == FolderKind::Inbox ? 4 : 3;
}

// The status as the phone's listing names it: "REC READ", "REC UNREAD",
// "STO SENT", "STO UNSENT"; empty for None.
std::string_view statusWord(MessageStatus status);

// --- Writing: the lines a folder file holds for a message.

// The index line: the stored one, else the index in decimal (nothing without
// one), after a blank for a sent or unsent message. The list shows it so, and
// the phone is asked for the message by it.
void appendIndexLine(std::string& out, const MessageView& message);
std::string indexLine(const MessageView& message);
// The header: the stored listing line, else one laid out as the phone lists.
void appendHeader(std::string& out, const MessageView& message);
// The date line: the stored one, else the time as DD/MM/YYYY,hh:mm:ss, or empty.
void appendDateLine(std::string& out, const MessageView& message);
// The whole record, each line followed by CR LF.
void appendRecord(std::string& out, const MessageView& message);
// The record's lines joined without separators, as records are compared:
// two records are the same message when every line is the same. `text`
// stands in for the message's text when given.
void appendKey(std::string& out, const MessageView& message,
               std::optional<std::string_view> text = std::nullopt);

// --- Reading: record::read in RecordFields.h.

// --- Messages from elsewhere, with the lines the archive has always stored for them.

// A message as the phone listed it: its status, its listing line, the index
// field as it stands there between the colon and the comma (" 5"), and its
// decoded text.
Message listed(FolderKind kind, MessageStatus status, std::string header,
               std::string_view indexField, std::string text);
// Sets a received message's time from a stamp the phone or another archive
// gave ("2005/1/2,9:05:03", zone and all), normalised the way the archive has
// always stored it (odd stamps give odd lines, which are kept as they come);
// none gives no time and an empty date line.
void setStamp(Message& message, std::optional<std::string_view> stamp);

// --- Messages of phones read by the standard commands (PDU mode).
//
// Such a phone keeps messages in several storages, each numbered from 1, and
// a long message in several places. The record names every place in its
// index line, storage and index, in the order of the message's parts, after a
// blank for a sent or unsent message as always:
//   Inbox:          "SM5"          Outbox, Draft:  " ME12,ME13,ME14"
// and its header is laid out as Motorola's listing line, with "+CMGL: " and
// the same places in front, so the status and number sit where every reader
// of the archive has always found them:
//   +CMGL: SM5, "REC UNREAD", "+79161234567"
// The received time is the date line's, in the phone's local time. Two
// messages of one phone never share a place, so never a record.

// The record of a standard phone's message. `number` and `text` are archive
// bytes (core/ArchiveText.h).
Message phoneMessage(FolderKind kind, MessageStatus status, std::string number,
                     const std::vector<StorageLocation>& locations, std::string text,
                     std::optional<MessageTime> time);

// The record an earlier read gave a standard phone's received message that
// is read now, when that read found it unread: listing a message marks it
// read on such phones, so every message that came in unread would otherwise
// be archived twice. None for every other message.
std::optional<Message> asListedUnread(const MessageView& message);

// The text a Motorola phone's message had when the phone's digits were decoded
// without the archive's escapes, where that differs: those archives hold it so.
// None for a standard phone's message, which no such version read.
std::optional<std::string> droppingDecoderText(const MessageView& message);

// The places an index line names, in part order; empty for any other index
// line (a Motorola phone's "5").
std::vector<StorageLocation> phoneLocations(std::string_view indexLine);

} // namespace qb::record
