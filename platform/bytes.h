#pragma once

// Text in Quillmark is bytes. Wherever text is compared without regard to case, only the 26 ASCII
// letters are folded; every other byte, accented letters included, stays as it is.

#include <string>
#include <string_view>

namespace qm {

constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
constexpr char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The value of an ASCII hexadecimal digit (either case), or -1 for any other byte.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string asciiLowerCopy(std::string_view text);
std::string asciiUpperCopy(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace qm
