#include "tests/support/allocationmeter.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define QM_METER_SANITIZER_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_METER_SANITIZER_HOOKS 1
#endif
#endif

#ifdef QM_METER_SANITIZER_HOOKS
// The sanitizer runtime's allocator interface (g++ installs no header for it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*onAllocated)(const volatile void*, std::size_t),
                                              void (*onReleased)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* pointer);
}
#endif

namespace {

// Signed, so that a block freed here but allocated before the meter saw it cannot wrap the count.
std::atomic<std::int64_t> g_current{0};
std::atomic<std::int64_t> g_peak{0};

void added(std::size_t bytes)
{
    const std::int64_t now = g_current.fetch_add(static_cast<std::int64_t>(bytes), std::memory_order_relaxed)
                             + static_cast<std::int64_t>(bytes);
    std::int64_t peak = g_peak.load(std::memory_order_relaxed);
    while (now > peak && !g_peak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {}
}

void removed(std::size_t bytes) { g_current.fetch_sub(static_cast<std::int64_t>(bytes), std::memory_order_relaxed); }

} // namespace

#ifdef QM_METER_SANITIZER_HOOKS

// The sanitizer owns malloc; it reports every allocation and release to these hooks, and a block's
// size is still known when its release is reported.
namespace {

void onAllocated(const volatile void*, std::size_t size) { added(size); }

void onReleased(const volatile void* pointer) { removed(__sanitizer_get_allocated_size(pointer)); }

[[maybe_unused]] const bool g_hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onAllocated, onReleased) != 0;

} // namespace

#else

// The C library's allocator under its internal names; these definitions of the public names take
// the place of its own for the whole process. A block counts with its usable size, which is known
// again when it is released.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

void* counted(void* pointer)
{
    if (pointer != nullptr)
        added(malloc_usable_size(pointer));
    return pointer;
}

} // namespace

extern "C" {

void* malloc(std::size_t size) { return counted(__libc_malloc(size)); }

void* calloc(std::size_t count, std::size_t size) { return counted(__libc_calloc(count, size)); }

void free(void* pointer)
{
    if (pointer != nullptr)
        removed(malloc_usable_size(pointer));
    __libc_free(pointer);
}

void* realloc(void* pointer, std::size_t size)
{
    const std::size_t before = pointer != nullptr ? malloc_usable_size(pointer) : 0;
    void* const moved = __libc_realloc(pointer, size);
    if (moved == nullptr && size != 0)
        return nullptr; // the old block stays as it was
    removed(before);
    return counted(moved);
}

void* reallocarray(void* pointer, std::size_t count, std::size_t size)
{
    std::size_t bytes = 0;
    if (__builtin_mul_overflow(count, size, &bytes)) {
        errno = ENOMEM;
        return nullptr;
    }
    return realloc(pointer, bytes);
}

void* memalign(std::size_t alignment, std::size_t size) { return counted(__libc_memalign(alignment, size)); }

void* aligned_alloc(std::size_t alignment, std::size_t size) { return counted(__libc_memalign(alignment, size)); }

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* const pointer = counted(__libc_memalign(alignment, size));
    if (pointer == nullptr)
        return ENOMEM;
    *result = pointer;
    return 0;
}

void* valloc(std::size_t size) { return counted(__libc_memalign(4096, size)); }

} // extern "C"

#endif

namespace qm::test {

AllocationMeter::AllocationMeter()
{
    const std::int64_t now = g_current.load(std::memory_order_relaxed);
    m_base = static_cast<std::size_t>(now > 0 ? now : 0);
    g_peak.store(now, std::memory_order_relaxed);
}

std::size_t AllocationMeter::peakAbove() const
{
    const std::int64_t peak = g_peak.load(std::memory_order_relaxed);
    return peak > static_cast<std::int64_t>(m_base) ? static_cast<std::size_t>(peak) - m_base : 0;
}

bool AllocationMeter::active()
{
    constexpr std::size_t kProbe = 1024 * 1024;
    // Called through a volatile pointer, so that the compiler cannot drop the pair of calls.
    void* (*volatile allocate)(std::size_t) = std::malloc;
    const std::int64_t before = g_current.load(std::memory_order_relaxed);
    void* const probe = allocate(kProbe);
    const bool seen = g_current.load(std::memory_order_relaxed) - before >= static_cast<std::int64_t>(kProbe);
    std::free(probe);
    return seen;
}

} // namespace qm::test
