#pragma once
// A folder file's bytes for one load or merge. Large folder files are mapped
// rather than copied: a 100 000-record folder is 15 MB, and two fresh buffers
// of that size per reload cost more in page faults than the parsing itself.
#include "core/Failure.h"

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace qb {

class FolderFile {
public:
    // Reads or maps the file; exists() is false for a missing file, failure()
    // set for one that exists but cannot be read.
    explicit FolderFile(const QString& path);
    ~FolderFile();
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;

    bool exists() const { return m_exists; }
    const MaybeFailure& failure() const { return m_failure; }
    std::string_view bytes() const { return m_bytes; }
    // Unmaps and closes, so the file can be replaced; bytes() is empty afterwards.
    void release();

private:
    QFile m_file;
    uchar* m_map = nullptr;
    std::string m_copy;
    std::string_view m_bytes;
    bool m_exists = false;
    MaybeFailure m_failure;
};

} // namespace qb
