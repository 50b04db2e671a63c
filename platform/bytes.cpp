#include "platform/bytes.h"

#include <algorithm>
#include <charconv>
#include <istream>

namespace qm {

std::string asciiLowerCopy(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiLower);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view trimLeft(std::string_view text, std::string_view drop)
{
    return text.substr(std::min(text.find_first_not_of(drop), text.size()));
}

std::string_view trimRight(std::string_view text, std::string_view drop)
{
    return text.substr(0, text.find_last_not_of(drop) + 1);
}

std::string_view trimBytes(std::string_view text, std::string_view drop)
{
    return trimRight(trimLeft(text, drop), drop);
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text, int base, std::uint64_t max)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end || value > max)
        return std::nullopt;
    return value;
}

bool readBounded(std::istream& in, std::size_t maxBytes, std::string& out)
{
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        const auto n = static_cast<std::size_t>(in.gcount());
        if (out.size() + n > maxBytes)
            return false;
        out.append(chunk, n);
    }
    return true;
}

} // namespace qm
