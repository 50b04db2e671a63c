#include "platform/bytes.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ParseUnsigned, TakesDigitsOnlyUpToTheLimit)
{
    struct Case {
        std::string_view text;
        int base;
        std::uint64_t max;
        std::optional<std::uint64_t> expected;
    };
    constexpr std::uint64_t kAny = UINT64_MAX;
    const Case cases[] = {
        {"0", 10, kAny, 0},
        {"0000000000000000000000042", 10, kAny, 42},      // leading zeros never overflow
        {"2147483647", 10, 2147483647, 2147483647},       // the limit itself
        {"2147483648", 10, 2147483647, std::nullopt},     // one above it
        {"18446744073709551616", 10, kAny, std::nullopt}, // beyond 64 bits
        {"fF", 16, kAny, 255},                            // either case
        {"1f", 10, kAny, std::nullopt},                   // a hex digit in a decimal
        {"", 10, kAny, std::nullopt},
        {"-1", 10, kAny, std::nullopt}, // a sign, a blank or a prefix is the caller's to strip
        {"+1", 10, kAny, std::nullopt},
        {" 1", 10, kAny, std::nullopt},
        {"1 ", 10, kAny, std::nullopt},
        {"0x1", 16, kAny, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseUnsigned(c.text, c.base, c.max), c.expected) << '"' << c.text << "\" base " << c.base;
}

} // namespace
} // namespace qm
