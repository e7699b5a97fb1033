#pragma once
// Whole-file reads and atomic whole-file writes in the working directory.
// Nothing is held open between operations; a write that fails leaves the old file.
#include "core/ByteBuffer.h"
#include "core/Failure.h"
#include "core/SignalCleanup.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace qb {

// dir + "/" + name; at the root this gives "//name", which the system accepts.
QString joinPath(const QString& dir, const QString& name);

// The path of `name` in `dir`: an exact match wins, else the first entry whose
// name equals it without regard to letter case (so "INBOX.MSG" is the Inbox
// file), else the path it would be created under.
QString resolveInDir(const QString& dir, const QString& name);

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
// The same into `bytes`, whose memory it takes over: a file read again into
// the buffer that held it before touches no fresh pages. `bytes` stays as it
// was when the file is missing or refused before reading starts, and is left
// empty when reading fails on the way. `arrived`, when given, is handed the
// bytes read so far after every piece of a few hundred KB, so that they can
// be taken apart while they are still in the processor's cache; the buffer
// may move between calls.
struct FileReadStatus {
    bool exists = false;
    MaybeFailure failure;
};
using ArrivedBytes = std::function<void(std::string_view soFar)>;
FileReadStatus readWholeFileInto(const QString& path, ByteBuffer& bytes,
                                 std::size_t maxBytes = MaxFileBytes,
                                 const ArrivedBytes& arrived = {});

// Who may read a file that a write creates. A regular file already at that name
// keeps its permission bits (never set-id or sticky bits); a link there is
// replaced, and its target's mode is not taken over.
enum class NewFileAccess {
    OwnerOnly, // archive, phonebook, template: personal messages and contacts
    Usual,     // what the umask allows, for files the user means to pass on
};

// A file written piece by piece and put in place whole. The bytes go into an
// unnamed file in the target's directory, which gets the target's name only
// once it is complete and synced, and the directory is synced after: once
// commit() reports success a power cut can bring back neither the old file nor
// no file at all, and a process killed midway leaves nothing behind. Where the
// file system has no unnamed files, a named file beside the target takes their
// place; it is removed on every failure, by the destructor when the file is
// not committed, and by SIGINT, SIGTERM and SIGHUP (removeStagedFilesOnSignals).
class StagedFile {
  public:
    explicit StagedFile(const QString& path, NewFileAccess access = NewFileAccess::OwnerOnly);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Appends bytes; false once any write has failed (commit() then says why).
    bool write(std::string_view bytes);
    // Puts the file in place under the target's name.
    MaybeFailure commit();

    // For an exchange with the target (a pair of files replaced together):
    // syncs the bytes, then gives the file a name of its own beside the
    // target, registered for removal on a signal, for as long as this lives.
    // Empty when none can be had (failure() says why).
    QByteArray exchangeName();
    Failure failure() const;
    const QString& path() const { return m_path; }
    // Gives up the file: whatever was not put in place is removed.
    void discard();

  private:
    bool openNamed();
    MaybeFailure sync();
    bool giveName();
    bool putInPlace();

    QString m_path;
    QByteArray m_target;
    mode_t m_mode;
    int m_fd = -1;
    QByteArray m_name; // the staged file's own name, while it has one
    std::unique_ptr<StagedName> m_registered;
    int m_error = 0;
};

// Writes `bytes` through a StagedFile: all of them in place, or the old file.
MaybeFailure writeWholeFile(const QString& path, std::string_view bytes,
                            NewFileAccess access = NewFileAccess::OwnerOnly);

} // namespace qb
