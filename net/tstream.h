#pragma once

// A byte stream with a position: bytes are written at the position, which advances; writing past
// the end extends the stream. The HTTP client writes response bodies into one.

#include <cstddef>
#include <cstdint>

namespace qm {

class TStream {
public:
    virtual ~TStream() = default;

    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    // A position past the end is allowed; the next write fills the gap with zero bytes.
    virtual void SetPosition(std::int64_t position) = 0;
    // Cuts the stream or extends it with zero bytes; the position stays where it was, or moves to the
    // new end when the stream became shorter than the position.
    virtual void SetSize(std::int64_t size) = 0;
    // Copies up to size bytes from the position, advancing it; returns how many were copied.
    virtual std::size_t Read(char* data, std::size_t size) = 0;
    virtual void Write(const char* data, std::size_t size) = 0;
};

// Cuts the stream at its position when it goes out of scope, however a read into it ended: the
// stream then holds the bytes received and nothing after them.
class StreamEnd final {
public:
    explicit StreamEnd(TStream& stream) : m_stream(stream) {}
    ~StreamEnd() { m_stream.SetSize(m_stream.Position()); }
    StreamEnd(const StreamEnd&) = delete;
    StreamEnd& operator=(const StreamEnd&) = delete;

private:
    TStream& m_stream;
};

} // namespace qm
