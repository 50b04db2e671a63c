#pragma once

// Bytes as characters. Text is bytes everywhere; where it has to become characters (the screen, a
// JSON export) it is read as UTF-8 when the bytes are valid UTF-8, otherwise as Windows-1252.

#include <string>
#include <string_view>

namespace qm {

// Whether the bytes are valid UTF-8: no overlong form, no surrogate, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes);

// The characters of the bytes, in UTF-8: the bytes themselves when they are valid UTF-8, otherwise
// each byte read as Windows-1252.
std::string utf8Text(std::string_view bytes);

} // namespace qm
