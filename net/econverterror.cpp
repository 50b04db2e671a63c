#include "net/econverterror.h"

#include <limits>

namespace qm {

std::optional<std::int32_t> TryStrToInt(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    // Accumulated as a magnitude so that the smallest 32-bit value can be read too.
    const std::int64_t maxMagnitude = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                               : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > maxMagnitude)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t StrToInt(std::string_view text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

} // namespace qm
