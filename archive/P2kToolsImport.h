#pragma once
// Bringing a P2kTools text archive into the archive Inbox. P2kTools keeps one
// message per line: sender, date and text separated by ";", the text running
// to the end of the line with any further ";" in it.
#include "archive/Message.h"
#include "core/Cancellation.h"
#include "core/Failure.h"
#include "core/Progress.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

// Why a line of a P2kTools archive adds no message.
enum class P2kToolsSkip {
    None, // it does add one
    EmptyLine,
    NoSeparator, // fewer than two ";"
    EmptySender,
    EmptyText,
};

// What an import did, for the user: messages added and lines left out, by why.
// Empty lines are no messages and are not counted.
struct ImportSummary {
    int imported = 0;
    int withoutSeparator = 0;
    int withoutSender = 0;
    int withoutText = 0;
    void count(P2kToolsSkip skip);
};

// The message on one line of a P2kTools archive (lines past 4096 characters
// are seen cut there, as every archive reader sees them), or none when the
// line adds nothing, `why` then saying why. Blanks at the end belong to the
// text. It goes into the archive as a received message that was read, from
// the sender, at the storage index 1000 that marks imported messages.
std::optional<Message> parseP2kToolsLine(std::string_view line, P2kToolsSkip* why = nullptr);

// Appends every message of the P2kTools archive `source` to Inbox.msg in
// `workDir` (created when missing). Nothing is compared: importing a file
// twice stores its messages twice. The progress bar is shown while the lines
// are taken. The Inbox is taken and replaced under the archive lock
// (ArchiveLock). Inbox.msg is replaced atomically at the end, so any failure (an
// unreadable source or Inbox, a failed write) leaves it as it was, and so does
// a `cancel` honoured between lines: the import then ends without a failure,
// and `cancel->stopped()` tells it apart. `summary`, when given, counts what
// was imported and left out once the Inbox is written.
MaybeFailure importP2kToolsArchive(const QString& workDir, const QString& source,
                                   Progress& progress, Cancellation* cancel = nullptr,
                                   ImportSummary* summary = nullptr);

} // namespace qb
