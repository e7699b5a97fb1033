#pragma once
// One writer at a time on an archive folder. Every change to the archive files
// (a read's merge and phonebook, a deletion, an import, "delete all") holds an
// exclusive flock on ".quillbox.lock" in the folder while it reads the files
// afresh and writes them, so two copies of Quillbox, or the window and the
// command line, never write over each other's change: each is made on top of
// the files as the other left them. Readers take no lock: every file is
// replaced whole by a rename, so a reader sees the old file or the new one.
#include "core/Cancellation.h"
#include "core/Failure.h"

#include <QString>
#include <chrono>

namespace qb {

class ArchiveLock {
  public:
    // The only file Quillbox creates in the archive folder for this; it stays.
    static inline const QString FileName = QStringLiteral(".quillbox.lock");
    // Long enough for another copy's import of a large file, short enough
    // that a change waiting off the window's thread ends in a clear message.
    static constexpr std::chrono::milliseconds Patience{5000};

    // Waits for the lock at most `patience`, and no longer than `cancel` lets it.
    explicit ArchiveLock(const QString& workDir, Cancellation* cancel = nullptr,
                         std::chrono::milliseconds patience = Patience);
    ~ArchiveLock();
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

    // Why the change must not go on: the lock stayed taken (or could not be
    // made); nothing may be written then.
    const MaybeFailure& failure() const { return m_failure; }
    // The wait ended on request; nothing may be written then either.
    bool cancelled() const { return m_cancelled; }
    // Whether the change may go on: the lock is held, or none can be had where
    // this process cannot write at all (a read-only folder), so that the
    // change meets the folder's own refusal and says so file by file.
    bool mayWrite() const { return !m_failure && !m_cancelled; }

    // The failure of a change that found the archive taken all along.
    static Failure busyFailure(const QString& workDir);

  private:
    int m_fd = -1;
    bool m_cancelled = false;
    MaybeFailure m_failure;
};

} // namespace qb
