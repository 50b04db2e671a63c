// A fuzz target with one deliberate fault, chosen when it is compiled (-DFAULT=1..4): the fuzz
// runner's self-test builds one of each and requires every run of them to fail.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

volatile char* g_sink;

// The block's address is gone once this returns, so the leak checker cannot find it anywhere.
__attribute__((noinline)) void Leak(std::size_t size)
{
    char* volatile block = static_cast<char*>(std::malloc(64 + size));
    block[0] = 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
#if FAULT == 1 // a crash: a read past the end of a block
    char* block = static_cast<char*>(std::malloc(size + 1));
    g_sink = block;
    volatile char c = block[size + 8];
    (void)c;
    std::free(block);
#elif FAULT == 2 // a leak, on a path of its own: the fuzzer looks for leaks on inputs that reach new code
    if (size > 0 && data[0] == 'L')
        Leak(size);
#elif FAULT == 3 // memory without bound
    g_sink = static_cast<char*>(std::malloc(std::size_t{1} << 30));
    std::memset(const_cast<char*>(g_sink), 1, std::size_t{1} << 30);
#elif FAULT == 4 // a hang
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
#endif
    (void)data;
    return 0;
}
