#pragma once
// Whole-file reads and atomic whole-file writes in the working directory.
// Nothing is held open between operations; a write that fails leaves the old file.
#include "core/Failure.h"

#include <QString>
#include <cstddef>
#include <string>

namespace qb {

// dir + "/" + name; at the root this gives "//name", which the system accepts.
QString joinPath(const QString& dir, const QString& name);

// The path of `name` in `dir`: an exact match wins, else the first entry whose
// name equals it without regard to letter case (so "INBOX.MSG" is the Inbox
// file), else the path it would be created under.
QString resolveInDir(const QString& dir, const QString& name);

bool fileExists(const QString& path);
// Something is at that name, even a link to nothing.
bool nameTaken(const QString& path);

struct FileRead {
    bool exists = false;
    std::string bytes;
    MaybeFailure failure; // set when the file exists but cannot be read
};
// The largest file the program reads: an archive folder of 100 000 records is
// about 15 MB, so this leaves ample room and still keeps memory in bounds.
inline constexpr std::size_t MaxFileBytes = std::size_t(128) << 20;
// Reads a regular file whole. Anything else at that name (a FIFO, a device, a
// directory, a link to nothing) is refused without waiting on it, and so is a
// file larger than `maxBytes` or one that does not fit into memory; `failure`
// then says why.
FileRead readWholeFile(const QString& path, std::size_t maxBytes = MaxFileBytes);

// Who may read a file that a write creates. A regular file already at that name
// keeps its permission bits (never set-id or sticky bits); a link there is
// replaced, and its target's mode is not taken over.
enum class NewFileAccess {
    OwnerOnly, // archive, phonebook, template: personal messages and contacts
    Usual,     // what the umask allows, for files the user means to pass on
};

// Writes to an unnamed file in the target's directory, gives it the target's
// name only once it is complete and syncs the directory, so that once it
// reports success a power cut can bring back neither the old file nor no file
// at all, and a process killed midway leaves nothing behind. Where the file
// system has no unnamed files, a named temporary file beside the target takes
// their place and is removed whenever the write fails.
MaybeFailure writeWholeFile(const QString& path, const std::string& bytes,
                            NewFileAccess access = NewFileAccess::OwnerOnly);

// Removes a file; false when it stays (missing files count as removed).
bool removeFile(const QString& path);

} // namespace qb
