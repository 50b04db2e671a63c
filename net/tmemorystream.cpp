#include "net/tmemorystream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qm {

TMemoryStream::~TMemoryStream() { std::free(m_data); }

void TMemoryStream::SetPosition(std::int64_t position)
{
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(position, 0));
}

void TMemoryStream::SetSize(std::int64_t size)
{
    const auto newSize = static_cast<std::size_t>(std::max<std::int64_t>(size, 0));
    if (newSize > m_size) {
        EnsureCapacity(newSize);
        std::memset(m_data + m_size, 0, newSize - m_size);
    }
    m_size = newSize;
    m_position = std::min(m_position, m_size);
}

std::size_t TMemoryStream::Read(char* data, std::size_t size)
{
    if (m_position >= m_size)
        return 0;
    const std::size_t n = std::min(size, m_size - m_position);
    std::memcpy(data, m_data + m_position, n);
    m_position += n;
    return n;
}

void TMemoryStream::Write(const char* data, std::size_t size)
{
    if (size == 0)
        return;
    EnsureCapacity(m_position + size);
    if (m_position > m_size)
        std::memset(m_data + m_size, 0, m_position - m_size);
    std::memcpy(m_data + m_position, data, size);
    m_position += size;
    m_size = std::max(m_size, m_position);
}

void TMemoryStream::EnsureCapacity(std::size_t capacity)
{
    if (capacity <= m_capacity)
        return;
    // Growing by half at least keeps many small writes linear in all.
    capacity = std::max(capacity, m_capacity + m_capacity / 2);
    void* data = std::realloc(m_data, capacity);
    if (data == nullptr)
        throw std::bad_alloc();
    m_data = static_cast<char*>(data);
    m_capacity = capacity;
}

} // namespace qm
