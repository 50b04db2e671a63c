#include "tests/support/hostileinputs.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace qm::test {
namespace {

// Bytes that start or end a structure in one format or another: NUL, line ends, markup, sections,
// quotes, a JPEG marker's prefix.
constexpr std::string_view kSingleBytes{"\0\n\r<[\"=\xff a", 10};

std::string RandomBytes(std::mt19937_64& random, std::size_t size)
{
    std::string bytes(size, '\0');
    std::uniform_int_distribution<int> byte(0, 255);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(byte(random)); });
    return bytes;
}

std::string Hex(unsigned char byte)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    return {kDigits[byte >> 4], kDigits[byte & 15]};
}

} // namespace

std::vector<HostileInput> SmallHostileInputs(std::string_view valid)
{
    std::vector<HostileInput> inputs;
    inputs.push_back({"empty", {}});
    for (const char c : kSingleBytes)
        inputs.push_back({"the one byte 0x" + Hex(static_cast<unsigned char>(c)), std::string(1, c)});

    std::mt19937_64 random(0x5175696c6c6d61ULL);
    for (const std::size_t size : {17u, 4096u, 262144u})
        inputs.push_back({std::to_string(size) + " random bytes", RandomBytes(random, size)});
    // Mostly valid is what reaches deepest: every 64th byte (on average) replaced.
    std::uniform_int_distribution<std::size_t> spot(0, valid.empty() ? 0 : valid.size() - 1);
    for (int round = 0; round < 8; ++round) {
        std::string mutated(valid);
        for (std::size_t n = 0; n < std::max<std::size_t>(1, valid.size() / 64) && !mutated.empty(); ++n)
            mutated[spot(random)] = RandomBytes(random, 1)[0];
        inputs.push_back({"valid input with random bytes, round " + std::to_string(round), std::move(mutated)});
    }

    const std::size_t cuts = std::min(kCutPositions, valid.size() == 0 ? 0 : valid.size() - 1);
    for (std::size_t length = 1; length <= cuts; ++length)
        inputs.push_back(
            {"valid input cut after " + std::to_string(length) + " bytes", std::string(valid.substr(0, length))});
    return inputs;
}

HostileInput Flood(char byte, std::size_t size)
{
    return {std::to_string(size) + " bytes of 0x" + Hex(static_cast<unsigned char>(byte)), std::string(size, byte)};
}

} // namespace qm::test
