#include "net/econverterror.h"

#include "platform/bytes.h"

namespace qm {

std::optional<std::int32_t> TryStrToInt(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    // Read as a magnitude so that the smallest 32-bit value can be read too.
    const auto magnitude = parseUnsigned(text, 10, negative ? 0x8000'0000u : 0x7FFF'FFFFu);
    if (!magnitude)
        return std::nullopt;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t StrToInt(std::string_view text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

} // namespace qm
