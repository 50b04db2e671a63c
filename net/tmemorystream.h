#pragma once

// A stream in memory: the sink of a download. Its storage grows geometrically with realloc, which
// large blocks turn into a page remap rather than a copy, so that filling it with a big body does
// not briefly need twice the memory.

#include "net/tstream.h"

#include <cstdlib>
#include <memory>
#include <string_view>

namespace qm {

class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    std::int64_t Size() const override { return static_cast<std::int64_t>(m_size); }
    std::int64_t Position() const override { return static_cast<std::int64_t>(m_position); }
    void SetPosition(std::int64_t position) override;
    void SetSize(std::int64_t size) override;
    std::size_t Read(char* data, std::size_t size) override;
    void Write(const char* data, std::size_t size) override;
    void Reserve(std::int64_t bytes) override;

    void Clear();
    // The whole content, whatever the position.
    std::string_view Bytes() const { return {m_data.get(), m_size}; }
    std::size_t Capacity() const { return m_capacity; }

private:
    struct FreeDeleter {
        void operator()(char* p) const { std::free(p); }
    };
    void Grow(std::size_t capacity);

    std::unique_ptr<char, FreeDeleter> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_position = 0;
};

} // namespace qm
