#include "archive/FolderFile.h"

#include "archive/FileLines.h"
#include "core/FileStore.h"

namespace qb {

FolderFile::FolderFile(const QString& path) {
    FileRead read = readWholeFile(path);
    m_exists = read.exists;
    m_failure = std::move(read.failure);
    m_bytes = std::move(read.bytes);
    m_lines = fileLines::count(m_bytes);
    if (m_lines > MaxFolderFileLines) {
        release();
        m_failure = Failure::cannotOpen(
            path, QStringLiteral("Too many lines (the limit is %1)").arg(MaxFolderFileLines));
    }
}

void FolderFile::release() {
    std::string().swap(m_bytes);
    m_lines = 0;
}

} // namespace qb
