#pragma once
// The four archive files in the working directory, and the in-memory archive
// read from them. How a folder file lays out a record is RecordLines.h's;
// Phonebook.pbk holds 2n + 1, then n number/name pairs, then an empty line.
#include "archive/ArchiveFolder.h"
#include "archive/ArchiveTypes.h"
#include "core/Cancellation.h"
#include "core/Failure.h"

#include <QString>
#include <array>
#include <string_view>
#include <vector>

namespace qb {

// "Inbox.msg", "Outbox.msg", "Draft.msg".
QString folderFileName(FolderKind kind);
inline const QString PhonebookFileName = QStringLiteral("Phonebook.pbk");

// The load half of reloadArchive: replaces the folders of `archive` one by one
// (Inbox, Outbox, Draft) from the files in `workDir`. A missing file is an empty
// folder; a file that cannot be read stops there, the folders before it replaced.
MaybeFailure reloadArchive(const QString& workDir, Archive& archive);
// The folders in the order reloadArchive reads them.
inline constexpr FolderKind ArchiveFolderKinds[] = {FolderKind::Inbox, FolderKind::Outbox,
                                                    FolderKind::Draft};
// One folder of reloadArchive (ArchiveFolder::reload).
MaybeFailure reloadFolder(const QString& workDir, FolderKind kind, ArchiveFolder& folder);

// loadPhonebook: when Phonebook.pbk exists, replaces `phonebook` by its entries.
MaybeFailure loadPhonebook(const QString& workDir, Phonebook& phonebook);
// The phonebook a Phonebook.pbk content holds: entries while 2j - 1 < the
// count line's value, at most MaxPhonebookEntries and never past the
// content's last line. An empty first line counts as none.
constexpr int MaxPhonebookEntries = 49999;
Phonebook parsePhonebook(std::string_view content);
// A count line that is neither empty nor a whole number ("5 ", "0x5") leaves a
// phonebook without entries; a copy made of it would pass for an empty phonebook.
MaybeFailure damagedPhonebookCount(const Phonebook& phonebook);
// A Phonebook.pbk read for a copy of the whole phonebook (the smartphone
// export). Its count line must describe the file: a count that is not a whole
// number, a negative one, or an empty line, 0 or 1 followed by entries, is
// damaged (`damagedCount`, with the same failure as a count that is no
// number), since read as no entries it would pass for an empty phonebook.
struct PhonebookCopy {
    Phonebook phonebook;
    MaybeFailure failure;
    bool damagedCount = false;
};
PhonebookCopy loadPhonebookCopy(const QString& workDir);
MaybeFailure damagedPhonebookFile(std::string_view content);
// Phonebook.pbk content for a phonebook: its count line (2n + 1 unless it
// keeps another), the pairs and one empty line. Fails when the count line
// kept is not a number.
struct PhonebookText {
    std::string content;
    MaybeFailure failure;
};
PhonebookText phonebookFileContent(const Phonebook& phonebook);
// Writes Phonebook.pbk (replacing a file of that name in any letter case).
MaybeFailure savePhonebook(const QString& workDir, const Phonebook& phonebook);

// How many records a merge appended to each folder file, by FolderKind.
using AppendedCounts = std::array<int, 3>;

// Appends every message of the read that the folder file does not hold yet,
// folder by folder (Inbox, Outbox, Draft).
// Writes all three files, also those that get nothing new. Stops at the first
// file it cannot read or write; the files merged before it stay merged. The
// caller holds the archive lock (storePhoneRead does). `appended`, when
// given, counts what reached each file that was written.
MaybeFailure mergeReadResult(const QString& workDir, const ReadResult& read,
                             AppendedCounts* appended = nullptr);

// The files' part of a phone read, under the archive lock (ArchiveLock), on
// top of the files as they are then: Phonebook.pbk becomes the phonebook the
// phone listed; when it listed none, the file stays as it is, or `known` is
// written where there is none. Then the read is merged. Ends without a
// failure and without a write when `cancel` stops the wait for the lock.
MaybeFailure storePhoneRead(const QString& workDir, const ReadResult& read,
                            const std::optional<Phonebook>& listed, const Phonebook& known,
                            Cancellation* cancel = nullptr, AppendedCounts* appended = nullptr);

} // namespace qb
