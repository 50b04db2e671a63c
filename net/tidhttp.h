#pragma once

// The HTTP/1.1 client: one GET exchange over its own TCP connection, the response body written into
// a stream. Every failure is an exception; the sink then holds the body bytes that arrived before
// it. Redirects are not followed: a redirect-like response is a reply error. The program fetches
// its one page and nothing else, so GET is the only method.
//
// Bounds: a whole exchange lasts at most ExchangeTimeout (however slowly bytes trickle in), the
// header block is at most MaxHeaderBytes and the body at most MaxBodyBytes; reaching one raises
// (EIdExchangeTimeout, EIdHeaderTooLarge, EIdBodyTooLarge) and keeps what arrived up to it. A failed
// exchange closes the connection, whose framing it can no longer vouch for; only an error status
// (EIdProtocolReplyError), read to the end of its body, leaves it open for reuse.

#include "net/tidheaderinfo.h"
#include "net/tidheaderlist.h"
#include "net/tidtcpclient.h"
#include "net/tiduri.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

class TStream;

inline constexpr int kHttpPort = 80;
inline constexpr int kExchangeTimeoutMs = 120'000;
inline constexpr std::int64_t kMaxHeaderBytes = std::int64_t{1024} * 1024;
inline constexpr std::int64_t kMaxBodyBytes = std::int64_t{64} * 1024 * 1024;

class TIdHTTP final : public TIdTCPClient {
public:
    // Creating the first network component starts the socket stack (see TIdComponent): may raise
    // EIdStackCanNotLoadWinsock or EIdStackInitializationFailed.
    explicit TIdHTTP(const StackFactory& makeStack = {});

    void SetExchangeTimeout(int milliseconds) { m_exchangeTimeoutMs = milliseconds; }
    void SetMaxHeaderBytes(std::int64_t bytes) { m_maxHeaderBytes = bytes; }
    void SetMaxBodyBytes(std::int64_t bytes) { m_maxBodyBytes = bytes; }

    const TIdHeaderInfo& Response() const { return m_response; }
    int ResponseCode() const { return m_responseCode; }
    const std::string& HostHeader() const { return m_hostHeader; }

    // One GET of url. Returns only for a 2xx response that is not redirect-like; the sink then holds
    // the body, written from its position at the call.
    void GetDocument(std::string_view url, TStream& sink);

private:
    void Exchange(std::string_view url, TStream& sink);
    // Sets Host, Port and HostHeader from the split URL and returns the request target.
    std::string ApplyUrlTarget(const TIdURI& uri);
    void SendRequest(const std::string& target);
    void ReadStatusLine();
    void ReadResponseHeaders();
    void ReadResponseFields();
    void ReadResponseBody(TStream& sink, bool bodyless);
    // Reads count body bytes into the sink, within MaxBodyBytes.
    void ReadBodyBytes(TStream& sink, std::int64_t count);
    // A line that must be there: the peer's close in the middle of it raises. Header lines count
    // towards MaxHeaderBytes.
    std::string ReadRequiredLine(bool headerLine);
    // Whether the server ends the connection after this response (HTTP/1.0, "Connection: close").
    bool ServerEndsConnection() const;

    int m_exchangeTimeoutMs = kExchangeTimeoutMs;
    std::int64_t m_maxHeaderBytes = kMaxHeaderBytes;
    std::int64_t m_maxBodyBytes = kMaxBodyBytes;

    TIdHeaderInfo m_request;
    TIdHeaderInfo m_response;
    // The request header lines going out, then the response header lines coming in.
    TIdHeaderList m_headers;
    int m_responseCode = 0;
    std::string m_responseText; // the status line without its protocol word, e.g. "404 Not Found"
    std::string m_hostHeader;

    bool m_server10 = false;
    // The response said "Content-Length: 0" in so many words.
    bool m_announcedEmpty = false;
    std::int64_t m_headerBytes = 0;
    std::int64_t m_bodyBytes = 0;
};

} // namespace qm
