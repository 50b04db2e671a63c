#pragma once

// A byte stream with a position: bytes are written at the position, which advances; writing past
// the end extends the stream. The HTTP client writes response bodies into one and reads request
// bodies from one.

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
    // A hint that about this many bytes will be written at the position; it never changes content.
    virtual void Reserve(std::int64_t) {}
    // Room for up to size bytes at the position, for a reader to fill in place, or null when the
    // stream offers none (then Write is the way). CommitWrite(n) then makes the first n of them
    // content, as Write would; until then the stream's content is unchanged.
    virtual char* WriteArea(std::size_t) { return nullptr; }
    virtual void CommitWrite(std::size_t) {}
};

} // namespace qm
