#include "platform/displaytext.h"

#include "platform/utf8text.h"

namespace qm {

QString displayText(std::string_view bytes)
{
    const std::string text = utf8Text(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace qm
