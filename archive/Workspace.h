#pragma once
// The program's state for a whole run: the working directory with its archive
// and phonebook, and the messages of the last phone read. The window owns one
// and hands it to the commands; nothing here knows about widgets.
#include "archive/ArchiveFiles.h"
#include "archive/ArchiveTypes.h"
#include "core/Failure.h"

#include <QString>

namespace qb {

struct Workspace {
    QString workDir; // the current directory at start-up; the archive files live there
    Archive archive;
    Phonebook phonebook;
    ReadResult readResult;

    MaybeFailure reloadArchive() { return qb::reloadArchive(workDir, archive); }
    MaybeFailure loadPhonebook() { return qb::loadPhonebook(workDir, phonebook); }
    // What a folder node counts: archive folders their records, phone folders
    // the messages of the last read.
    int archiveCount(FolderKind kind) const { return archive.folder(kind).count(); }
    int phoneCount(FolderKind kind) const;
};

} // namespace qb
