#pragma once
// A folder file's bytes for one load or merge, read whole into memory. The file
// is not mapped: another program cutting it short meanwhile would end this one.
#include "core/Failure.h"

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

// The largest folder file the archive takes: an archive folder holds at most
// 100 000 records, so a file of more lines than a million Inbox records, or of
// more than MaxFileBytes, is not one (20 MB of bare line breaks would otherwise
// become five million records in memory).
inline constexpr std::size_t MaxFolderFileLines = 4000000;

class FolderFile {
  public:
    // Reads the file; exists() is false for a missing file, failure() set for
    // one that exists but cannot be read, is not a regular file or is over the limits.
    explicit FolderFile(const QString& path);
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;

    bool exists() const { return m_exists; }
    const MaybeFailure& failure() const { return m_failure; }
    std::string_view bytes() const { return m_bytes; }
    std::size_t lineCount() const { return m_lines; }
    // Lets the bytes go before the file is replaced; bytes() is empty afterwards.
    void release();

  private:
    std::string m_bytes;
    std::size_t m_lines = 0;
    bool m_exists = false;
    MaybeFailure m_failure;
};

} // namespace qb
