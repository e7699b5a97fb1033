#pragma once
// Bytes read from a file into memory that the next read reuses. Unlike a
// std::string it grows without first writing zeros over what is about to be
// read anyway, which for a folder of tens of megabytes is a pass of its own.
#include <cstddef>
#include <memory>
#include <string_view>

namespace qb {

class ByteBuffer {
  public:
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }
    bool empty() const { return m_size == 0; }
    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    std::string_view view() const { return {m_data.get(), m_size}; }
    char operator[](std::size_t i) const { return m_data[i]; }

    // Keeps the first bytes, up to `size`; bytes beyond the old size are
    // undefined until written. Large buffers are advised into huge pages.
    void resize(std::size_t size);
    // Room for `capacity` bytes; what it held is given up, not copied.
    void reserveEmpty(std::size_t capacity);
    void release();

  private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace qb
