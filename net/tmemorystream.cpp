#include "net/tmemorystream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qm {

void TMemoryStream::SetPosition(std::int64_t position)
{
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(position, 0));
}

void TMemoryStream::SetSize(std::int64_t size)
{
    const auto newSize = static_cast<std::size_t>(std::max<std::int64_t>(size, 0));
    if (newSize > m_size) {
        Grow(newSize);
        std::memset(m_data.get() + m_size, 0, newSize - m_size);
    }
    m_size = newSize;
    m_position = std::min(m_position, m_size);
}

std::size_t TMemoryStream::Read(char* data, std::size_t size)
{
    if (m_position >= m_size)
        return 0;
    const std::size_t n = std::min(size, m_size - m_position);
    std::memcpy(data, m_data.get() + m_position, n);
    m_position += n;
    return n;
}

void TMemoryStream::Write(const char* data, std::size_t size)
{
    if (size == 0)
        return;
    const std::size_t end = m_position + size;
    if (end > m_capacity)
        Grow(std::max(end, m_capacity + m_capacity / 2));
    if (m_position > m_size)
        std::memset(m_data.get() + m_size, 0, m_position - m_size);
    std::memcpy(m_data.get() + m_position, data, size);
    m_position = end;
    m_size = std::max(m_size, end);
}

void TMemoryStream::Reserve(std::int64_t bytes)
{
    if (bytes > 0)
        Grow(m_position + static_cast<std::size_t>(bytes));
}

void TMemoryStream::Clear()
{
    m_data.reset();
    m_size = m_capacity = m_position = 0;
}

void TMemoryStream::Grow(std::size_t capacity)
{
    if (capacity <= m_capacity)
        return;
    void* data = std::realloc(m_data.get(), capacity);
    if (data == nullptr)
        throw std::bad_alloc();
    (void)m_data.release();
    m_data.reset(static_cast<char*>(data));
    m_capacity = capacity;
}

} // namespace qm
