#pragma once

// A stream in memory: the sink of a download. Its storage grows geometrically. Large storage is a
// mapping of its own that asks for huge pages and grows by remapping, never by copying, so that
// filling it with a big body neither needs twice the memory for a moment nor costs a page fault per
// 4 KiB. A receive can write straight into it (WriteArea).

#include "net/tstream.h"

#include <cstddef>
#include <string_view>

namespace qm {

class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    std::int64_t Size() const override { return static_cast<std::int64_t>(m_size); }
    std::int64_t Position() const override { return static_cast<std::int64_t>(m_position); }
    void SetPosition(std::int64_t position) override;
    void SetSize(std::int64_t size) override;
    std::size_t Read(char* data, std::size_t size) override;
    void Write(const char* data, std::size_t size) override;
    void Reserve(std::int64_t bytes) override;
    char* WriteArea(std::size_t size) override;
    void CommitWrite(std::size_t size) override;

    void Clear();
    // The whole content, whatever the position.
    std::string_view Bytes() const { return {m_data, m_size}; }
    std::size_t Capacity() const { return m_capacity; }

private:
    // Room for at least capacity bytes; grows by half at least, so that many small growths cost
    // linear time in all.
    void EnsureCapacity(std::size_t capacity);
    void Release();

    char* m_data = nullptr;
    bool m_mapped = false;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
};

} // namespace qm
