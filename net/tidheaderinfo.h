#pragma once

// The header fields of one request or response. The request's fields become request header lines
// (WriteRequestLines); a response's fields are read from its header lines by the HTTP client.

#include "net/tidheaderlist.h"

#include <cstdint>
#include <string>

namespace qm {

// A date and time as a day count with fraction since 1899-12-30, local time; 0 for none.
using TDateTime = double;

class TIdHeaderInfo final {
public:
    TIdHeaderInfo();

    // Back to the values at creation, except AcceptEncoding, AcceptLanguage, From, Referer, Username
    // and Password, which keep theirs.
    void ResetFields();
    // Clears lines and appends one header line per field that is set, in the fixed request order,
    // then the lines of ExtraHeaders.
    void WriteRequestLines(TIdHeaderList& lines) const;

    std::string Accept;
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    std::string Connection;
    std::string ContentEncoding;
    std::string ContentLanguage;
    std::string ContentType;
    std::string ContentVersion;
    std::string From;
    std::string Location;
    std::string Password;
    std::string ProxyAuthenticate;
    std::string ProxyPassword;
    std::string ProxyServer;
    std::string ProxyUsername;
    std::string Referer;
    std::string Server;
    std::string UserAgent;
    std::string Username;
    std::int32_t ContentLength = 0;
    std::int32_t ContentRangeStart = 0;
    std::int32_t ContentRangeEnd = 0;
    std::int32_t ProxyPort = 0;
    TDateTime Date = 0;
    TDateTime Expires = 0;
    TDateTime LastModified = 0;
    TIdHeaderList ExtraHeaders;
};

inline constexpr std::string_view kDefaultAccept = "text/html, */*";
inline constexpr std::string_view kDefaultUserAgent = "Mozilla/3.0 (compatible; Quillmark)";

// Standard Base64 with "=" padding.
std::string EncodeBase64(std::string_view bytes);

} // namespace qm
