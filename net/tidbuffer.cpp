#include "net/tidbuffer.h"

#include <algorithm>
#include <cstring>

namespace qm {

char* TIdBuffer::PrepareAppend(std::size_t n)
{
    if (m_capacity - m_end < n) {
        const std::size_t size = Size();
        if (m_capacity - size >= n && m_begin > 0) {
            std::memmove(m_data.get(), Data(), size);
        } else {
            const std::size_t capacity = std::max(size + n, m_capacity * 2);
            auto data = std::make_unique_for_overwrite<char[]>(capacity);
            if (size > 0)
                std::memcpy(data.get(), Data(), size);
            m_data = std::move(data);
            m_capacity = capacity;
        }
        m_begin = 0;
        m_end = size;
    }
    return m_data.get() + m_end;
}

void TIdBuffer::Remove(std::size_t n)
{
    m_begin += std::min(n, Size());
    if (m_begin == m_end)
        m_begin = m_end = 0;
}

} // namespace qm
