#pragma once

// A literal, copy-based model of the source page parser for differential tests: every step copies and
// lower-cases the text it searches, positions are 1-based, replacements restart from the start. Slow
// on purpose; the real parser must give exactly what this gives.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::test {

// Position (1-based) of the first match of a lower-case pattern in a lower-cased copy of text, 0 for none.
std::size_t Pos(std::string_view lowerPattern, std::string_view text);
// The substring rule of the walk: a start below 1 counts as 1, a start past the end or a negative
// count gives the empty text, a count past the end stops at the end.
std::string Copy(std::string_view text, long long start, long long count);
std::string LiteralReplaceAllNoCase(std::string_view source, std::string_view pattern, std::string_view replacement);
// Seventy plain searches in a lower-cased copy.
bool LiteralIsBlocked(std::string_view caption);

struct ReferenceParse {
    std::vector<std::string> items;
    int entries = 0; // entries walked
};

// The walk ends where it cannot advance (no further "</a>"), as the real parser's does.
ReferenceParse ReferenceParseSourcePage(std::string_view page, std::string_view key);

} // namespace qm::test
