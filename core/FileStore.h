#pragma once
// Whole-file reads and atomic whole-file writes in the working directory.
// Nothing is held open between operations; a write that fails leaves the old file.
#include "core/Failure.h"

#include <QString>
#include <string>

namespace qb {

// dir + "/" + name; at the root this gives "//name", which the system accepts.
QString joinPath(const QString& dir, const QString& name);

// The path of `name` in `dir`: an exact match wins, else the first entry whose
// name equals it without regard to letter case (so "INBOX.MSG" is the Inbox
// file), else the path it would be created under.
QString resolveInDir(const QString& dir, const QString& name);

bool fileExists(const QString& path);

struct FileRead {
    bool exists = false;
    std::string bytes;
    MaybeFailure failure; // set when the file exists but cannot be read
};
FileRead readWholeFile(const QString& path);

// Who may read a file that a write creates; a file that exists keeps its mode.
enum class NewFileAccess {
    OwnerOnly, // archive, phonebook, template: personal messages and contacts
    Usual,     // what the umask allows, for files the user means to pass on
};

// Writes to a temporary file beside the target, renames it over the target and
// syncs the directory, so that once it reports success a power cut can bring
// back neither the old file nor no file at all.
MaybeFailure writeWholeFile(const QString& path, const std::string& bytes,
                            NewFileAccess access = NewFileAccess::OwnerOnly);

// Removes a file; false when it stays (missing files count as removed).
bool removeFile(const QString& path);

} // namespace qb
