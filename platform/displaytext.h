#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace qm {

// The text of the bytes for the screen, as utf8Text reads them: UTF-8 when the bytes are valid UTF-8,
// otherwise Windows-1252. Everything else keeps the bytes.
QString displayText(std::string_view bytes);

// The most of a caption that a list shows and lays out: a caption can be a page's whole body.
inline constexpr std::size_t kShownCaptionBytes = 2047;

// displayText() of the bytes, or for longer ones of their first kShownCaptionBytes (less a UTF-8
// sequence the cut splits) followed by an ellipsis. Work and memory stay bounded whatever the length.
QString shownText(std::string_view bytes);

} // namespace qm
