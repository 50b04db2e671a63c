#pragma once

// Text in Quillmark is bytes. Wherever text is compared without regard to case, only the 26 ASCII
// letters are folded; every other byte, accented letters included, stays as it is.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
constexpr char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string asciiLowerCopy(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

inline constexpr std::string_view kBlanks = " \t";
// The blank and every control byte, NUL included: the bytes up to 32.
inline constexpr std::string_view kBlankAndControls{"\0\x01\x02\x03\x04\x05\x06\x07\x08\t\n\x0B\x0C\r\x0E\x0F"
                                                    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F ",
                                                    33};

// The text without the bytes of drop at its start, at its end, or at both ends.
std::string_view trimLeft(std::string_view text, std::string_view drop = kBlanks);
std::string_view trimRight(std::string_view text, std::string_view drop = kBlanks);
std::string_view trimBytes(std::string_view text, std::string_view drop = kBlanks);

// The whole text as a number in base 10 or 16 (hexadecimal digits of either case): nothing but digits,
// no sign, blank or prefix. Empty for any other text and for a value above max. Each format keeps its
// own rules for signs, prefixes and blanks around it.
std::optional<std::uint64_t> parseUnsigned(std::string_view text, int base, std::uint64_t max);

// Reads all of in into out, or stops and answers false as soon as it holds more than maxBytes.
bool readBounded(std::istream& in, std::size_t maxBytes, std::string& out);

} // namespace qm
