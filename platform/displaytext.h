#pragma once

#include <QString>
#include <string_view>

namespace qm {

// The text of the bytes for the screen, as utf8Text reads them: UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252. Everything else keeps the bytes.
QString displayText(std::string_view bytes);

} // namespace qm
