#include "net/tiduri.h"

#include "net/cuttoken.h"

#include <algorithm>

namespace qm {

TIdURI TIdURI::SplitUrl(std::string_view url)
{
    TIdURI parts;
    // Text is single-byte: no byte is the lead byte of a double-byte character, so every backslash goes.
    std::string rest(url);
    std::replace(rest.begin(), rest.end(), '\\', '/');

    if (rest.find("://") != std::string::npos) {
        parts.Protocol = CutToken(rest, "://", true);
        std::string hostPart = CutToken(rest, "/", true);
        parts.Host = CutToken(hostPart, ":", true);
        parts.Port = hostPart;
    }

    const std::size_t lastSlash = rest.rfind('/');
    if (lastSlash == std::string::npos) {
        parts.Document = rest;
    } else {
        parts.Path = rest.substr(0, lastSlash + 1);
        parts.Document = rest.substr(lastSlash + 1);
    }
    if (parts.Path.empty() || parts.Path.front() != '/')
        parts.Path = "/" + parts.Path;

    const std::size_t hash = parts.Document.find('#');
    if (hash != std::string::npos) {
        parts.Bookmark = parts.Document.substr(hash + 1);
        parts.Document.resize(hash);
    }
    return parts;
}

} // namespace qm
