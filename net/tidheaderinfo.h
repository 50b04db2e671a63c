#pragma once

// The header fields of one request or response. The request's fields become request header lines
// (WriteRequestLines); a response's fields are read from its header lines by the HTTP client.

#include "net/tidheaderlist.h"

#include <cstdint>
#include <string>

namespace qm {

inline constexpr std::string_view kDefaultAccept = "text/html, */*";
inline constexpr std::string_view kDefaultUserAgent = "Mozilla/3.0 (compatible; Quillmark)";

class TIdHeaderInfo final {
public:
    // Clears lines and appends one header line per field that is set, in the fixed request order,
    // then the lines of ExtraHeaders.
    void WriteRequestLines(TIdHeaderList& lines) const;

    std::string Accept{kDefaultAccept};
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    std::string ContentType;
    std::string ContentVersion;
    std::string Location;
    std::string ProxyAuthenticate;
    std::string Server;
    std::string UserAgent{kDefaultUserAgent};
    std::int32_t ContentLength = 0;
    std::int32_t ContentRangeStart = 0;
    std::int32_t ContentRangeEnd = 0;
    TIdHeaderList ExtraHeaders;
};

} // namespace qm
