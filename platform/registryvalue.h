#pragma once

// Values of the per-user registry store and their lines in the store file: `"name"=data` for a named
// value, `@=data` for the key's default value, where data is "text", dword:0000abcd, hex:01,02 or
// hex(n):01,02 for a value of type n. A long hex list is wrapped over lines that end in a backslash;
// its continuation lines are indented and start with a hex digit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Value types with the numbers the store file uses in "hex(n):". Other numbers are valid too: a
// value keeps whatever type it was stored with.
enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    DwordBigEndian = 5,
    Link = 6,
    MultiSz = 7,
    Qword = 11,
};

// A value's type and its data bytes. A text value ("name"="text") holds its text followed by one
// NUL byte, so "abc" is 4 bytes long; a DWORD holds 4 bytes, little-endian.
struct RegValue {
    RegType type = RegType::None;
    std::string data;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// A DWORD's 4 data bytes, little-endian.
std::string dwordData(std::uint32_t value);
// The number in a DWORD's data bytes, little-endian; bytes missing from a value shorter than 4 bytes
// read as zero, bytes past the fourth are not read.
std::uint32_t dwordValue(std::string_view data);

constexpr std::size_t kMaxRegValueNameBytes = 16383;

// At most kMaxRegValueNameBytes bytes, without CR, LF or NUL (which would break the line format).
bool isValidRegValueName(std::string_view name);

// The line without the blanks (space, tab, CR) at either end.
std::string_view trimRegLine(std::string_view line);

// Whether the line can start a value: it begins, after blanks, with a quote or "@".
bool startsRegValueLine(std::string_view line);
// Whether the line continues a wrapped hex list.
bool continuesRegHexList(std::string_view line);
// The value line so far (ending in a backslash) with the next continuation line joined on.
std::string joinRegHexLines(std::string_view logical, std::string_view next);

// Reads one value line, continuation lines joined. False for anything that is not exactly one value
// in the format above (a deletion mark "name"=-, a bad number, an unclosed quote, trailing text).
bool parseRegValueLine(std::string_view line, std::string& name, RegValue& value);
// The line that stores a DWORD: "name"=dword:0000abcd (@= for the default value).
std::string formatRegDwordLine(std::string_view name, std::uint32_t value);

} // namespace qm
