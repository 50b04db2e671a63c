#pragma once

// An absolute or relative URL cut into its parts.

#include <string>
#include <string_view>

namespace qm {

class TIdURI final {
public:
    // Every backslash becomes a slash first. Protocol, Host and Port come from "protocol://host:port/"
    // and stay empty without "://"; the host part ends at the first "/", "?" or "#", so a colon in a
    // query or fragment never gives a port. Path runs up to and including the last "/" and always begins with
    // "/"; Document is what follows it up to a "#" (a "?" and the query stay in it); Bookmark is what
    // follows the "#".
    static TIdURI SplitUrl(std::string_view url);

    // Raises EIdInvalidURL for a URL that must not be requested: one holding a control byte (a CR or
    // LF would end the request line and start header lines of the URL's own), and one whose protocol
    // is neither empty (a relative URL), http nor https (which the client refuses for itself).
    void CheckRequestable() const;

    std::string Protocol;
    std::string Host;
    std::string Path;
    std::string Document;
    std::string Port;
    std::string Bookmark;
};

} // namespace qm
