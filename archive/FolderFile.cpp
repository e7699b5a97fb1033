#include "archive/FolderFile.h"

#include "core/FileStore.h"

#include <QFileInfo>

namespace qb {

FolderFile::FolderFile(const QString& path) : m_file(path)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() > 0 && m_file.open(QIODevice::ReadOnly)) {
        m_map = m_file.map(0, m_file.size());
        if (m_map) {
            m_exists = true;
            m_bytes = std::string_view(reinterpret_cast<const char*>(m_map),
                                       static_cast<std::size_t>(m_file.size()));
            return;
        }
        m_file.close();
    }
    // Missing, empty, unreadable or not mappable: the ordinary whole-file read
    // decides and gives the system's reason.
    FileRead read = readWholeFile(path);
    m_exists = read.exists;
    m_failure = std::move(read.failure);
    m_copy = std::move(read.bytes);
    m_bytes = m_copy;
}

FolderFile::~FolderFile()
{
    release();
}

void FolderFile::release()
{
    if (m_map) {
        m_file.unmap(m_map);
        m_map = nullptr;
    }
    m_file.close();
    m_bytes = {};
}

} // namespace qb
