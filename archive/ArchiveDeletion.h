#pragma once
// Removing messages from the archive: chosen records of one folder file, or
// the three folder files at once. The phonebook file is never touched here.
#include "archive/ArchiveTypes.h"
#include "core/Cancellation.h"
#include "core/Failure.h"
#include "core/Progress.h"

#include <QString>
#include <vector>

namespace qb {

// Rewrites the folder file without the records numbered `records` (k from 1,
// in file order, as the list rows carry them; any order, repeats and numbers
// past the end are harmless). Every other record stays, also those appended
// after the list was filled. The file is written even when nothing remains or
// it did not exist, and replaced atomically: a failure leaves the old content.
// The progress position counts the records removed so far. A `cancel`
// honoured between records ends it without a failure and without a write.
MaybeFailure deleteArchiveRecords(const QString& workDir, FolderKind kind, std::vector<int> records,
                                  Progress& progress, Cancellation* cancel = nullptr);

// Removes Inbox.msg, Outbox.msg and Draft.msg (any letter case). A file that
// cannot be removed stays, silently; the next reload still finds it.
void deleteAllFolderFiles(const QString& workDir);

} // namespace qb
