#pragma once

// Hostile inputs for the readers of untrusted bytes: what a damaged file, a broken or malicious
// server or a random page can hand them. Random bytes come from fixed seeds, so every run feeds the
// same inputs and a failure names one that can be fed again.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::test {

struct HostileInput {
    std::string name; // says in a failure message which input it was
    std::string bytes;
};

// How far into a valid input the cuts go.
constexpr std::size_t kCutPositions = 512;
// The size of a flood: one byte repeated.
constexpr std::size_t kFloodBytes = 64 * 1024 * 1024;

// Everything but the floods, from one valid input: nothing at all; single bytes; random bytes; the
// valid input with random bytes written over some of its bytes; and the valid input cut after each
// of its first kCutPositions bytes (every proper prefix when it is shorter).
std::vector<HostileInput> SmallHostileInputs(std::string_view valid);

// size bytes of one byte.
HostileInput Flood(char byte, std::size_t size = kFloodBytes);

} // namespace qm::test
