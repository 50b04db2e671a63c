#pragma once

// The integer conversion error and the strict integer reader behind it. It is not of the network
// family: a text that is no number is a conversion failure wherever it happens.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

class EConvertError final : public std::runtime_error {
public:
    explicit EConvertError(const std::string& message) : std::runtime_error(message), m_message(message) {}
    const char* ClassName() const noexcept { return "EConvertError"; }
    // The whole message; what() ends at a NUL byte in the text that was converted.
    const std::string& Message() const noexcept { return m_message; }

private:
    std::string m_message;
};

// A decimal 32-bit integer: an optional '-' followed by one or more digits, nothing else. Blanks,
// '+', hexadecimal prefixes and values outside the 32-bit range give no value.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, raising EConvertError "'<text>' is not a valid integer value" for no value.
std::int32_t StrToInt(std::string_view text);

} // namespace qm
