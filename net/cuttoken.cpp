#include "net/cuttoken.h"

namespace qm {

std::string CutToken(std::string& text, std::string_view delimiter, bool remove)
{
    const std::size_t at = text.find(delimiter);
    if (at == std::string::npos) {
        std::string token = remove ? std::move(text) : text;
        if (remove)
            text.clear();
        return token;
    }
    std::string token = text.substr(0, at);
    if (remove)
        text.erase(0, at + delimiter.size());
    return token;
}

} // namespace qm
