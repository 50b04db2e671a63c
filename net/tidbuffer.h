#pragma once

// A growable byte buffer: contiguous memory and a size. Bytes are appended at the end and consumed
// from the front; consuming only moves a start offset, and the remaining bytes are moved to the front
// when room is needed at the end, so taking many short lines off a large buffer stays linear.

#include <cstddef>
#include <memory>
#include <string_view>

namespace qm {

class TIdBuffer final {
public:
    TIdBuffer() = default;
    TIdBuffer(const TIdBuffer&) = delete;
    TIdBuffer& operator=(const TIdBuffer&) = delete;

    std::size_t Size() const { return m_end - m_begin; }
    bool Empty() const { return m_end == m_begin; }
    char* Data() { return m_data.get() + m_begin; }
    const char* Data() const { return m_data.get() + m_begin; }

    // Room for at least n more bytes at the end; CommitAppend then says how many were written there.
    char* PrepareAppend(std::size_t n);
    void CommitAppend(std::size_t n) { m_end += n; }
    // Removes the first n bytes (at most Size()).
    void Remove(std::size_t n);
    void Clear() { m_begin = m_end = 0; }

    // Position of the first occurrence of needle at or after from, or npos.
    std::size_t Find(std::string_view needle, std::size_t from) const
    {
        return std::string_view(Data(), Size()).find(needle, from);
    }

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

} // namespace qm
