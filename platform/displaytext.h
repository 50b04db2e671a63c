#pragma once

#include <QString>
#include <string_view>

namespace qm {

// The one place where bytes become characters for the screen: UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252. Everything else keeps the bytes.
QString displayText(std::string_view bytes);

} // namespace qm
