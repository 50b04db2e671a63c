#include "net/tmemorystream.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace qm {
namespace {

// From this size on, storage is a mapping of its own.
constexpr std::size_t kMappedFrom = std::size_t{1024} * 1024;
// Mappings start on a huge-page boundary and come in whole huge pages, so that all of them can be
// backed by huge pages: filling 2 MiB then costs one page fault instead of 512.
constexpr std::size_t kHugePage = std::size_t{2} * 1024 * 1024;

std::size_t HugeRounded(std::size_t size)
{
    return (size + kHugePage - 1) / kHugePage * kHugePage;
}

// An address range of size bytes on a huge-page boundary, reserved without memory behind it. The
// caller maps over it.
char* ReserveAligned(std::size_t size)
{
    void* raw = ::mmap(nullptr, size + kHugePage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    char* const begin = static_cast<char*>(raw);
    char* const aligned = begin + (kHugePage - reinterpret_cast<std::uintptr_t>(begin) % kHugePage) % kHugePage;
    if (aligned > begin)
        ::munmap(begin, static_cast<std::size_t>(aligned - begin));
    ::munmap(aligned + size, static_cast<std::size_t>(begin + size + kHugePage - (aligned + size)));
    return aligned;
}

char* Map(std::size_t size)
{
    char* const at = ReserveAligned(size);
    void* data = ::mmap(at, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (data == MAP_FAILED) {
        ::munmap(at, size);
        throw std::bad_alloc();
    }
    // Advice for the whole mapping: advising a part would split it, and a split mapping could no
    // longer be moved whole.
    (void)::madvise(data, size, MADV_HUGEPAGE);
    return static_cast<char*>(data);
}

// The mapping grown to size bytes: moved whole (page tables only, no bytes copied) to a new aligned
// range when it cannot grow where it is.
char* Remap(char* data, std::size_t oldSize, std::size_t size)
{
    void* grown = ::mremap(data, oldSize, size, 0);
    if (grown != MAP_FAILED)
        return static_cast<char*>(grown);
    char* const at = ReserveAligned(size);
    grown = ::mremap(data, oldSize, size, MREMAP_MAYMOVE | MREMAP_FIXED, at);
    if (grown == MAP_FAILED) {
        ::munmap(at, size);
        throw std::bad_alloc();
    }
    return static_cast<char*>(grown);
}

} // namespace

TMemoryStream::~TMemoryStream()
{
    Release();
}

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
    std::memcpy(WriteArea(size), data, size);
    CommitWrite(size);
}

void TMemoryStream::Reserve(std::int64_t bytes)
{
    if (bytes > 0)
        EnsureCapacity(m_position + static_cast<std::size_t>(bytes));
}

char* TMemoryStream::WriteArea(std::size_t size)
{
    EnsureCapacity(m_position + size);
    return m_data + m_position;
}

void TMemoryStream::CommitWrite(std::size_t size)
{
    if (size == 0)
        return;
    if (m_position > m_size)
        std::memset(m_data + m_size, 0, m_position - m_size);
    m_position += size;
    m_size = std::max(m_size, m_position);
}

void TMemoryStream::Clear()
{
    Release();
    m_size = m_capacity = m_position = 0;
}

void TMemoryStream::EnsureCapacity(std::size_t capacity)
{
    if (capacity <= m_capacity)
        return;
    capacity = std::max(capacity, m_capacity + m_capacity / 2);
    if (capacity < kMappedFrom) {
        void* data = std::realloc(m_data, capacity);
        if (data == nullptr)
            throw std::bad_alloc();
        m_data = static_cast<char*>(data);
    } else if (m_mapped) {
        capacity = HugeRounded(capacity);
        m_data = Remap(m_data, m_capacity, capacity);
    } else {
        capacity = HugeRounded(capacity);
        char* data = Map(capacity);
        if (m_size > 0)
            std::memcpy(data, m_data, m_size);
        std::free(m_data);
        m_data = data;
        m_mapped = true;
    }
    m_capacity = capacity;
}

void TMemoryStream::Release()
{
    if (m_mapped)
        ::munmap(m_data, m_capacity);
    else
        std::free(m_data);
    m_data = nullptr;
    m_mapped = false;
}

} // namespace qm
