#include "platform/displaytext.h"

#include "platform/utf8text.h"

namespace qm {

QString displayText(std::string_view bytes)
{
    const std::string text = utf8Text(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString shownText(std::string_view bytes)
{
    if (bytes.size() <= kShownCaptionBytes)
        return displayText(bytes);
    std::string_view head = bytes.substr(0, kShownCaptionBytes);
    // A UTF-8 sequence is at most 4 bytes: the cut splits valid text within its last 3.
    for (std::size_t dropped = 0; dropped < 4; ++dropped) {
        if (isUtf8(head.substr(0, head.size() - dropped))) {
            head.remove_suffix(dropped);
            break;
        }
    }
    return displayText(head) + QChar(0x2026);
}

} // namespace qm
