#pragma once

// The HTTP/1.1 client: one GET (or HEAD, POST) exchange over its own TCP connection, the response
// body written into a stream. Every failure is an exception; the sink then holds the body bytes
// that arrived before it.
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
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TStream;

enum class TIdHTTPProtocolVersion { pv1_0, pv1_1 };
enum class TIdHTTPMethod { hmGet, hmHead, hmPost };

inline constexpr int kHttpPort = 80;
inline constexpr int kRedirectMaximum = 15;
inline constexpr int kExchangeTimeoutMs = 120'000;
inline constexpr std::int64_t kMaxHeaderBytes = std::int64_t{1024} * 1024;
inline constexpr std::int64_t kMaxBodyBytes = std::int64_t{64} * 1024 * 1024;

// What a POST sends: text lines (each followed by CR LF) or a stream's bytes from its position.
struct TIdHTTPSource {
    const std::vector<std::string>* Lines = nullptr;
    TStream* Stream = nullptr;
};

class TIdHTTP final : public TIdTCPClient {
public:
    // Asked before a redirect-like response is followed (or accepted); may change dest and handled.
    using TIdHTTPOnRedirectEvent =
        std::function<void(TIdHTTP& sender, std::string& dest, int& numRedirect, bool& handled)>;

    // Creating the first network component starts the socket stack: may raise
    // EIdStackCanNotLoadWinsock or EIdStackInitializationFailed.
    TIdHTTP();
    ~TIdHTTP() override;

    TIdHTTPProtocolVersion ProtocolVersion() const { return m_protocolVersion; }
    void SetProtocolVersion(TIdHTTPProtocolVersion version) { m_protocolVersion = version; }
    bool HandleRedirects() const { return m_handleRedirects; }
    void SetHandleRedirects(bool handle) { m_handleRedirects = handle; }
    int RedirectMaximum() const { return m_redirectMaximum; }
    void SetRedirectMaximum(int maximum) { m_redirectMaximum = maximum; }
    int ExchangeTimeout() const { return m_exchangeTimeoutMs; }
    void SetExchangeTimeout(int milliseconds) { m_exchangeTimeoutMs = milliseconds; }
    std::int64_t MaxHeaderBytes() const { return m_maxHeaderBytes; }
    void SetMaxHeaderBytes(std::int64_t bytes) { m_maxHeaderBytes = bytes; }
    std::int64_t MaxBodyBytes() const { return m_maxBodyBytes; }
    void SetMaxBodyBytes(std::int64_t bytes) { m_maxBodyBytes = bytes; }
    TIdHTTPOnRedirectEvent OnRedirect;

    TIdHeaderInfo& Request() { return m_request; }
    const TIdHeaderInfo& Response() const { return m_response; }
    int ResponseCode() const { return m_responseCode; }
    // The status line without its protocol word, e.g. "404 Not Found".
    const std::string& ResponseText() const { return m_responseText; }
    int RedirectCount() const { return m_redirectCount; }
    const std::string& HostHeader() const { return m_hostHeader; }
    const std::string& UrlProtocol() const { return m_urlProtocol; }

    // One GET of url. Returns only for a 2xx response not diverted by a redirect; the sink then
    // holds the body, written from its position at the call.
    void GetDocument(std::string_view url, TStream& sink);
    void Head(std::string_view url);
    void Post(std::string_view url, const TIdHTTPSource& source, TStream& sink);
    // The exchange behind them. No sink: no body is read.
    void PerformRequest(TIdHTTPMethod method, std::string_view url, TStream* sink,
                        const TIdHTTPSource& source = {});

private:
    class ExchangeScope;

    void Exchange(TIdHTTPMethod method, std::string_view url, TStream* sink, const TIdHTTPSource& source);
    // Sets Host, Port and HostHeader from the split URL and returns the request target.
    std::string ApplyUrlTarget(const TIdURI& uri);
    void SendRequest(TIdHTTPMethod method, const std::string& target, const TIdHTTPSource& source);
    void ReadStatusLine();
    void ReadResponseHeaders();
    void ReadResponseFields();
    void ReadResponseBody(TStream* sink, bool bodyless);
    // Reads count body bytes into the sink, within MaxBodyBytes.
    void ReadBodyBytes(TStream& sink, std::int64_t count);
    std::int64_t ReadChunkLength();
    // A line that must be there: the peer's close in the middle of it raises. Header lines count
    // towards MaxHeaderBytes.
    std::string ReadRequiredLine(bool headerLine);
    bool ConfirmRedirect(std::string& dest, int numRedirect);
    // Whether the server ends the connection after this response (HTTP/1.0, "Connection: close").
    bool ServerEndsConnection() const;
    // The response is an error status read to its end: the connection stays for the next exchange
    // unless the server ends it.
    [[noreturn]] void RaiseReplyError();
    void EndExchange();

    TIdHTTPProtocolVersion m_protocolVersion = TIdHTTPProtocolVersion::pv1_1;
    bool m_handleRedirects = false;
    int m_redirectMaximum = kRedirectMaximum;
    int m_exchangeTimeoutMs = kExchangeTimeoutMs;
    std::int64_t m_maxHeaderBytes = kMaxHeaderBytes;
    std::int64_t m_maxBodyBytes = kMaxBodyBytes;

    TIdHeaderInfo m_request;
    TIdHeaderInfo m_response;
    // The request header lines going out, then the response header lines coming in.
    TIdHeaderList m_headers;
    int m_responseCode = 0;
    std::string m_responseText;
    int m_redirectCount = 0;
    std::string m_hostHeader;
    std::string m_urlProtocol;

    bool m_server10 = false;
    // The response said "Content-Length: 0" in so many words.
    bool m_announcedEmpty = false;
    std::int64_t m_headerBytes = 0;
    std::int64_t m_bodyBytes = 0;
    int m_depth = 0;
};

} // namespace qm
