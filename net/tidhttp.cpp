// The HTTP exchange: target, request, status, redirects and the end of the exchange. Reading the
// header fields and the body is in tidhttp_response.cpp.
#include "net/tidhttp.h"

#include "net/cuttoken.h"
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tstream.h"
#include "platform/bytes.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace qm {
namespace {

std::string_view MethodWord(TIdHTTPMethod method)
{
    switch (method) {
    case TIdHTTPMethod::hmHead: return "HEAD ";
    case TIdHTTPMethod::hmPost: return "POST ";
    case TIdHTTPMethod::hmGet: break;
    }
    return "GET ";
}

std::int32_t SourceLength(const TIdHTTPSource& source)
{
    std::int64_t length = 0;
    if (source.Lines != nullptr && source.Stream == nullptr) {
        for (const std::string& line : *source.Lines)
            length += static_cast<std::int64_t>(line.size()) + 2;
    } else if (source.Stream != nullptr && source.Lines == nullptr) {
        length = source.Stream->Size() - source.Stream->Position();
    } else {
        throw EIdObjectTypeNotSupported();
    }
    if (length > std::numeric_limits<std::int32_t>::max())
        throw EIdObjectTypeNotSupported();
    return static_cast<std::int32_t>(std::max<std::int64_t>(length, 0));
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

// Marks one exchange, nested ones (followed redirects) included. The outermost one starts the
// redirect count afresh and bounds the whole exchange in time.
class TIdHTTP::ExchangeScope final {
public:
    explicit ExchangeScope(TIdHTTP& http) : m_http(http)
    {
        if (m_http.m_depth++ == 0) {
            m_http.m_redirectCount = 0;
            m_http.SetDeadline(Clock::now() + std::chrono::milliseconds(m_http.m_exchangeTimeoutMs));
        }
    }
    ~ExchangeScope()
    {
        if (--m_http.m_depth == 0)
            m_http.SetDeadline(std::nullopt);
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    TIdHTTP& m_http;
};

TIdHTTP::TIdHTTP()
{
    SetPort(kHttpPort);
}

TIdHTTP::~TIdHTTP() = default;

void TIdHTTP::GetDocument(std::string_view url, TStream& sink)
{
    PerformRequest(TIdHTTPMethod::hmGet, url, &sink);
}

void TIdHTTP::Head(std::string_view url)
{
    PerformRequest(TIdHTTPMethod::hmHead, url, nullptr);
}

void TIdHTTP::Post(std::string_view url, const TIdHTTPSource& source, TStream& sink)
{
    PerformRequest(TIdHTTPMethod::hmPost, url, &sink, source);
}

void TIdHTTP::PerformRequest(TIdHTTPMethod method, std::string_view url, TStream* sink,
                             const TIdHTTPSource& source)
{
    const ExchangeScope scope(*this);
    try {
        Exchange(method, url, sink, source);
    } catch (const EIdProtocolReplyError&) {
        throw;
    } catch (...) {
        // Whatever is left of the response would be read as the start of the next one.
        CloseConnection();
        throw;
    }
}

void TIdHTTP::Exchange(TIdHTTPMethod method, std::string_view url, TStream* sink,
                       const TIdHTTPSource& source)
{
    ++m_redirectCount;
    const std::string target = ApplyUrlTarget(TIdURI::SplitUrl(url));

    // A kept connection that the server has closed since the last exchange is noticed now, so that
    // a fresh one is opened instead of the request going into the void.
    ProbePeerClosed(0);
    CheckPeerClosed(false);
    if (!IsConnected())
        OpenConnection();

    SendRequest(method, target, source);
    ReadStatusLine();
    ReadResponseHeaders();
    ReadResponseFields();

    const int code = m_responseCode;
    const bool bodyless = method == TIdHTTPMethod::hmHead || code / 100 == 1 || code == 204
        || code == 304 || m_announcedEmpty;
    const bool redirectLike = (code / 100 == 3 && code != 304) || !m_response.Location.empty();
    // The response's own body comes first, redirect or not, so that it lands in the sink.
    ReadResponseBody(sink, bodyless);

    if (!redirectLike) {
        if (code / 100 != 2)
            RaiseReplyError();
    } else {
        std::string dest = m_response.Location;
        if (m_handleRedirects && m_redirectCount < m_redirectMaximum) {
            if (sink != nullptr)
                sink->SetPosition(0);
            if (ConfirmRedirect(dest, m_redirectCount)) {
                if (m_protocolVersion == TIdHTTPProtocolVersion::pv1_0 || m_server10)
                    CloseConnection();
                PerformRequest(method, dest, sink, source);
            }
        } else {
            // With redirects followed, this is the redirect maximum reached: the redirect body is not
            // the document, whatever the callback says.
            const bool accepted = ConfirmRedirect(dest, m_redirectCount);
            if (!accepted || m_handleRedirects)
                RaiseReplyError();
            m_response.Location = dest;
        }
    }
    EndExchange();
}

std::string TIdHTTP::ApplyUrlTarget(const TIdURI& uri)
{
    uri.CheckRequestable();
    // The port the URL leads to, so that a port-less URL to the same host reuses the connection.
    const int targetPort = TryStrToInt(uri.Port).value_or(kHttpPort);
    // No TLS is built: an https URL can never be served.
    if (equalsNoCase(uri.Protocol, "HTTPS"))
        throw EIdInterceptPropInvalid();

    if (uri.Host.empty()) {
        m_hostHeader = Host();
    } else {
        if ((!equalsNoCase(uri.Host, Host()) || targetPort != Port()) && IsConnected())
            CloseConnection();
        SetHost(uri.Host);
        m_hostHeader = uri.Host;
        if (!uri.Protocol.empty())
            m_urlProtocol = uri.Protocol;
    }
    SetPort(targetPort);
    return uri.Path + uri.Document;
}

void TIdHTTP::SendRequest(TIdHTTPMethod method, const std::string& target, const TIdHTTPSource& source)
{
    m_headers.Clear();
    m_request.ContentLength = method == TIdHTTPMethod::hmPost ? SourceLength(source) : 0;
    m_request.WriteRequestLines(m_headers);

    const std::string_view version = m_protocolVersion == TIdHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1";
    // One send per line: nothing is buffered.
    WriteLine(std::string(MethodWord(method)) + target + " HTTP/" + std::string(version));
    WriteLine("Host: " + m_hostHeader);
    for (const std::string& line : m_headers)
        WriteLine(line);
    WriteLine("");

    if (method != TIdHTTPMethod::hmPost)
        return;
    if (source.Lines != nullptr) {
        for (const std::string& line : *source.Lines)
            WriteLine(line);
    } else {
        WriteStream(*source.Stream);
    }
}

void TIdHTTP::ReadStatusLine()
{
    m_responseText = ReadLine();
    m_headerBytes = static_cast<std::int64_t>(m_responseText.size()) + 1;
    const std::string_view text = m_responseText;
    m_server10 = equalsNoCase(text.substr(std::min<std::size_t>(5, text.size()), 3), "1.0");
    // "HTTP/1.1 200 OK" -> "200 OK"; the code is the text up to the first blank.
    CutToken(m_responseText, " ", true);
    m_responseCode = StrToInt(CutToken(m_responseText, " ", false));
}

bool TIdHTTP::ConfirmRedirect(std::string& dest, int numRedirect)
{
    bool handled = m_handleRedirects;
    if (OnRedirect)
        OnRedirect(*this, dest, numRedirect, handled);
    return handled;
}

bool TIdHTTP::ServerEndsConnection() const
{
    return m_protocolVersion == TIdHTTPProtocolVersion::pv1_0 || m_server10
        || equalsNoCase(TrimBlanks(m_response.Connection), "CLOSE");
}

void TIdHTTP::RaiseReplyError()
{
    if (ServerEndsConnection())
        CloseConnection();
    throw EIdProtocolReplyError(m_responseCode, m_responseText);
}

void TIdHTTP::EndExchange()
{
    if (ServerEndsConnection())
        CloseConnection();
    else
        ProbePeerClosed();
    m_redirectCount = 0;
}

} // namespace qm
