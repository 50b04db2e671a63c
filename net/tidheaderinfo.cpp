#include "net/tidheaderinfo.h"

#include <array>
#include <utility>

namespace qm {

TIdHeaderInfo::TIdHeaderInfo()
{
    ResetFields();
}

void TIdHeaderInfo::ResetFields()
{
    Accept = kDefaultAccept;
    AcceptCharSet.clear();
    Connection.clear();
    ContentEncoding.clear();
    ContentLanguage.clear();
    ContentType.clear();
    ContentVersion.clear();
    Location.clear();
    ProxyAuthenticate.clear();
    ProxyPassword.clear();
    ProxyServer.clear();
    ProxyUsername.clear();
    Server.clear();
    UserAgent = kDefaultUserAgent;
    ContentLength = 0;
    ContentRangeStart = 0;
    ContentRangeEnd = 0;
    ProxyPort = 0;
    Date = 0;
    Expires = 0;
    LastModified = 0;
    ExtraHeaders.Clear();
}

void TIdHeaderInfo::WriteRequestLines(TIdHeaderList& lines) const
{
    lines.Clear();
    const std::array<std::pair<std::string_view, const std::string*>, 12> fields = {{
        {"Accept: ", &Accept},
        {"Accept-Charset: ", &AcceptCharSet},
        {"Accept-Encoding: ", &AcceptEncoding},
        {"Accept-Language: ", &AcceptLanguage},
        {"From: ", &From},
        {"Referer: ", &Referer},
        {"User-Agent: ", &UserAgent},
        {"Connection: ", &Connection},
        {"Content-Version: ", &ContentVersion},
        {"Content-Encoding: ", &ContentEncoding},
        {"Content-Language: ", &ContentLanguage},
        {"Content-Type: ", &ContentType},
    }};
    for (const auto& [prefix, value] : fields) {
        if (!value->empty())
            lines.Add(std::string(prefix) + *value);
    }
    if (ContentLength != 0)
        lines.Add("Content-Length: " + std::to_string(ContentLength));
    if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
        std::string range = "Range: bytes=" + std::to_string(ContentRangeStart) + "-";
        if (ContentRangeEnd != 0)
            range += std::to_string(ContentRangeEnd);
        lines.Add(std::move(range));
    }
    if (!Username.empty())
        lines.Add("Authorization: Basic " + EncodeBase64(Username + ":" + Password));
    if (!ProxyServer.empty() && !ProxyUsername.empty())
        lines.Add("Proxy-Authorization: Basic " + EncodeBase64(ProxyUsername + ":" + ProxyPassword));
    for (const std::string& line : ExtraHeaders)
        lines.Add(line);
}

std::string EncodeBase64(std::string_view bytes)
{
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

} // namespace qm
