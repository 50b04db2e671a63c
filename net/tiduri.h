#pragma once

// An absolute or relative URL cut into its parts.

#include <string>
#include <string_view>

namespace qm {

class TIdURI final {
public:
    // Every backslash becomes a slash first. Protocol, Host and Port come from "protocol://host:port/"
    // and stay empty without "://". Path runs up to and including the last "/" and always begins with
    // "/"; Document is what follows it up to a "#" (a "?" and the query stay in it); Bookmark is what
    // follows the "#".
    static TIdURI SplitUrl(std::string_view url);

    std::string Protocol;
    std::string Host;
    std::string Path;
    std::string Document;
    std::string Port;
    std::string Bookmark;
};

} // namespace qm
