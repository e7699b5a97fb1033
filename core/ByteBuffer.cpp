#include "core/ByteBuffer.h"

#include "core/HugePages.h"

#include <algorithm>
#include <cstring>

namespace qb {

void ByteBuffer::resize(std::size_t size) {
    if (size > m_capacity) {
        std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(size);
        adviseHugePages(grown.get(), size);
        if (m_size != 0)
            std::memcpy(grown.get(), m_data.get(), m_size);
        m_data = std::move(grown);
        m_capacity = size;
    }
    m_size = size;
}

void ByteBuffer::reserveEmpty(std::size_t capacity) {
    if (capacity <= m_capacity) {
        m_size = 0;
        return;
    }
    release();
    resize(capacity);
    m_size = 0;
}

void ByteBuffer::release() {
    m_data.reset();
    m_size = m_capacity = 0;
}

} // namespace qb
