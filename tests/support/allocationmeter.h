#pragma once

// Counts the heap memory the whole process holds, for tests that bound what a reader allocates.
// Linking allocationmeter.cpp into a test binary puts every malloc, calloc, realloc, aligned
// allocation and free of the process through the meter (operator new and C libraries such as
// libjpeg included): in a plain build by taking over malloc and friends from the C library, in an
// AddressSanitizer build through the sanitizer's allocation hooks. Link it into one dedicated test
// binary only: it replaces the allocator for everything in that process.
//
// Memory mapped without malloc (a memory stream's own mapping, thread stacks) is not seen; tests
// that need it add it themselves.

#include <cstddef>

namespace qm::test {

class AllocationMeter final {
public:
    // Starts a measurement at what the process holds now.
    AllocationMeter();
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    // The most bytes held at once since the measurement started, above what was held at its start.
    std::size_t peakAbove() const;

    // Whether allocations reach the meter at all. False under a tool that brings its own allocator
    // (valgrind's memcheck): the peak then stays 0 and proves nothing.
    static bool active();

private:
    std::size_t m_base = 0;
};

} // namespace qm::test
