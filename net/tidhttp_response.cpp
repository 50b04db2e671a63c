// Reading a response: the header lines, the fields taken from them, and the body framed by length,
// by chunks or by the server's close.
#include "net/tidhttp.h"

#include "net/cuttoken.h"
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tstream.h"
#include "platform/bytes.h"

#include <algorithm>
#include <limits>

namespace qm {
namespace {

// A chunk size: the line up to a ";" (chunk extensions carry nothing this client needs), trailing
// blanks and tabs dropped, then the text before the first blank, as one or more hexadecimal digits.
std::int64_t ParseChunkSize(std::string_view line)
{
    line = trimRight(line.substr(0, line.find(';')));
    line = line.substr(0, line.find(' '));
    if (line.empty())
        throw EIdMalformedResponse("chunk size missing");
    const std::size_t digits = std::min(line.find_first_not_of("0123456789abcdefABCDEF"), line.size());
    const auto size = parseUnsigned(line.substr(0, digits), 16, std::numeric_limits<std::int32_t>::max());
    // Digits beyond the limit are "too large" even when a stray byte follows them.
    if (digits > 0 && !size)
        throw EIdMalformedResponse("chunk size too large");
    if (digits < line.size())
        throw EIdMalformedResponse("chunk size is not hexadecimal");
    return static_cast<std::int64_t>(*size);
}

} // namespace

std::string TIdHTTP::ReadRequiredLine(bool headerLine)
{
    std::string line = ReadLine();
    // An empty result with LineTimedOut set is no empty line: the peer closed in the middle of one.
    if (line.empty() && LineTimedOut())
        throw EIdConnClosedGracefully();
    if (headerLine) {
        m_headerBytes += static_cast<std::int64_t>(line.size()) + 1;
        if (m_headerBytes > m_maxHeaderBytes)
            throw EIdHeaderTooLarge(m_maxHeaderBytes);
    }
    return line;
}

void TIdHTTP::ReadResponseHeaders()
{
    m_headers.Clear();
    for (;;) {
        std::string line = ReadRequiredLine(true);
        if (line.empty())
            break;
        m_headers.Add(std::move(line));
    }
}

void TIdHTTP::ReadResponseFields()
{
    TIdHeaderInfo& r = m_response;
    r.ExtraHeaders.Clear();
    // Only the first line of a repeated header is taken; the others go to ExtraHeaders.
    const auto take = [this](std::string_view name) {
        std::string value = m_headers.ValueOf(name);
        m_headers.Remove(name);
        return value;
    };
    r.Location = take("Location");
    r.Server = take("Server");
    r.Connection = take("Connection");
    r.ContentVersion = take("Content-Version");
    r.ContentEncoding = take("Content-Encoding");
    r.ContentLanguage = take("Content-Language");
    r.ContentType = take("Content-Type");
    const std::string length = take("Content-Length");
    const std::string range = take("Content-Range");
    // Nothing reads the dates: they are taken off so that they do not go to ExtraHeaders.
    for (const char* date : {"Date", "Last-Modified", "Expires"})
        take(date);
    r.ProxyAuthenticate = take("Proxy-Authenticate");

    // A length that is no 32-bit integer ("5 ", "12abc", too large) counts as none.
    r.ContentLength = 0;
    m_announcedEmpty = false;
    if (const auto value = TryStrToInt(length)) {
        if (length.front() == '-')
            throw EIdMalformedResponse("negative Content-Length");
        r.ContentLength = *value;
        m_announcedEmpty = *value == 0;
    }

    r.ContentRangeStart = 0;
    r.ContentRangeEnd = 0;
    if (!range.empty()) {
        std::string rest = range;
        CutToken(rest, " ", true); // the unit
        r.ContentRangeStart = StrToInt(CutToken(rest, "-", true));
        r.ContentRangeEnd = StrToInt(CutToken(rest, "/", true));
    }

    for (const std::string& line : m_headers)
        r.ExtraHeaders.Add(line);
}

void TIdHTTP::ReadResponseBody(TStream& sink, bool bodyless)
{
    const StreamEnd end(sink);
    m_bodyBytes = 0;
    if (bodyless)
        return;

    if (m_response.ContentLength != 0) {
        ReadBodyBytes(sink, m_response.ContentLength);
        return;
    }
    if (asciiLowerCopy(m_response.ExtraHeaders.ValueOf("Transfer-Encoding")).find("chunked") != std::string::npos) {
        while (const std::int64_t n = ParseChunkSize(ReadRequiredLine(false))) {
            ReadBodyBytes(sink, n);
            ReadRequiredLine(false); // the line break after the chunk's data
        }
        // Trailer lines, up to the empty line that ends the message.
        while (!ReadRequiredLine(true).empty()) {}
        return;
    }
    if (ReadToStream(sink, 0, true, m_maxBodyBytes))
        throw EIdBodyTooLarge(m_maxBodyBytes);
}

void TIdHTTP::ReadBodyBytes(TStream& sink, std::int64_t count)
{
    const std::int64_t room = m_maxBodyBytes - m_bodyBytes;
    if (count > room) {
        ReadToStream(sink, room, false);
        m_bodyBytes += room;
        throw EIdBodyTooLarge(m_maxBodyBytes);
    }
    ReadToStream(sink, count, false);
    m_bodyBytes += count;
}

} // namespace qm
