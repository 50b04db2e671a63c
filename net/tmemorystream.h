#pragma once

// A stream in memory: the sink of a download. Its storage grows by half at least, through realloc,
// which moves a large block by remapping its pages rather than copying them.

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

    // The whole content, whatever the position.
    std::string_view Bytes() const { return {m_data, m_size}; }
    std::size_t Capacity() const { return m_capacity; }

private:
    void EnsureCapacity(std::size_t capacity);

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
};

} // namespace qm
