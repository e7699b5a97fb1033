#pragma once
// Removing messages from the archive: chosen records of one folder file, or
// the three folder files at once. The phonebook file is never touched here.
#include "archive/Message.h"
#include "core/Cancellation.h"
#include "core/Failure.h"
#include "core/Progress.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace qb {

// A record chosen for deletion: its number k (from 1, in file order, as the
// list rows carry them) and the message the list showed for it; none when the
// list showed none (the archive in memory held no record k), which no record
// of the file matches.
struct ChosenRecord {
    int record = 0;
    std::optional<Message> shown;
};

// The failure of a deletion whose chosen record no longer holds what was shown.
Failure changedRecordsFailure();

// Rewrites the folder file without the records `records` (any order; repeats
// and numbers past the end are harmless). When a record that is removed no
// longer holds the message it was chosen by, line for line (another program or another copy
// of Quillbox changed the file under the list: phones reuse indexes and "ok"
// repeats, so only the whole record tells two messages apart), nothing is
// removed and changedRecordsFailure() is returned. Every other record
// stays, also those appended after the list was filled. The file is written even when nothing
// remains or it did not exist, and replaced atomically: a failure leaves the old content. It is
// made under the archive lock, on the file as it is then (ArchiveLock). The progress position
// counts the records removed so far. A `cancel` honoured between records, or while the lock is
// awaited, ends it without a failure and without a write.
MaybeFailure deleteArchiveRecords(const QString& workDir, FolderKind kind,
                                  std::vector<ChosenRecord> records, Progress& progress,
                                  Cancellation* cancel = nullptr);

// What became of one folder file in "delete all".
struct WipedFile {
    enum class Fate {
        Trashed, // in the desktop's trash, where the file manager can restore it
        Removed, // no trash could take it: removed
        Left,    // still there: `error` says why
    };
    QString name; // as spelt in the folder
    Fate fate = Fate::Trashed;
    int error = 0;
};
// Every folder file "delete all" met, in the order it met them: none when
// there was none. `failure` is set when the archive lock was not had: then
// nothing was touched.
struct WipeReport {
    std::vector<WipedFile> files;
    MaybeFailure failure;
};

// Moves Inbox.msg, Outbox.msg and Draft.msg (any letter case) to the desktop's
// trash (moveToTrash), so that one click without a question can be undone;
// removes them only when no trash takes them, and leaves those the system
// will not let go (a read-only folder, an immutable file). Works under the
// archive lock; nothing is ever created beside the archive but the lock file.
WipeReport deleteAllFolderFiles(const QString& workDir, Cancellation* cancel = nullptr);

} // namespace qb
