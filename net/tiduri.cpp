#include "net/tiduri.h"

#include "net/cuttoken.h"
#include "net/eidexception.h"
#include "platform/bytes.h"

#include <algorithm>
#include <cstdio>

namespace qm {

TIdURI TIdURI::SplitUrl(std::string_view url)
{
    TIdURI parts;
    // Text is single-byte: no byte is the lead byte of a double-byte character, so every backslash goes.
    std::string rest(url);
    std::replace(rest.begin(), rest.end(), '\\', '/');

    if (rest.find("://") != std::string::npos) {
        parts.Protocol = CutToken(rest, "://", true);
        const std::size_t end = std::min(rest.find_first_of("/?#"), rest.size());
        std::string hostPart = rest.substr(0, end);
        rest.erase(0, end < rest.size() && rest[end] == '/' ? end + 1 : end);
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

void TIdURI::CheckRequestable() const
{
    for (const std::string* part : {&Protocol, &Host, &Port, &Path, &Document, &Bookmark}) {
        const auto control = std::find_if(part->begin(), part->end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        });
        if (control != part->end()) {
            char text[48];
            std::snprintf(text, sizeof text, "it holds the control byte 0x%02X", static_cast<unsigned char>(*control));
            throw EIdInvalidURL(text);
        }
    }
    if (!Protocol.empty() && !equalsNoCase(Protocol, "http") && !equalsNoCase(Protocol, "https"))
        throw EIdInvalidURL("the protocol \"" + Protocol + "\" is not http");
}

} // namespace qm
