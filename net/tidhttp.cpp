// The HTTP exchange: target, request, status and the end of the exchange. Reading the header fields
// and the body is in tidhttp_response.cpp.
#include "net/tidhttp.h"

#include "net/cuttoken.h"
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "platform/bytes.h"

#include <algorithm>
#include <optional>

namespace qm {

TIdHTTP::TIdHTTP(const StackFactory& makeStack) : TIdTCPClient(makeStack) { SetPort(kHttpPort); }

void TIdHTTP::GetDocument(std::string_view url, TStream& sink)
{
    SetDeadline(Clock::now() + std::chrono::milliseconds(m_exchangeTimeoutMs));
    try {
        Exchange(url, sink);
    } catch (const EIdProtocolReplyError&) {
        SetDeadline(std::nullopt);
        throw;
    } catch (...) {
        // Whatever is left of the response would be read as the start of the next one.
        CloseConnection();
        SetDeadline(std::nullopt);
        throw;
    }
    SetDeadline(std::nullopt);
}

void TIdHTTP::Exchange(std::string_view url, TStream& sink)
{
    const std::string target = ApplyUrlTarget(TIdURI::SplitUrl(url));

    // A kept connection that the server has closed since the last exchange is noticed now, so that
    // a fresh one is opened instead of the request going into the void.
    ProbePeerClosed(0);
    CheckPeerClosed(false);
    if (!IsConnected())
        OpenConnection();

    SendRequest(target);
    ReadStatusLine();
    ReadResponseHeaders();
    ReadResponseFields();

    const int code = m_responseCode;
    const bool bodyless = code / 100 == 1 || code == 204 || code == 304 || m_announcedEmpty;
    const bool redirectLike = (code / 100 == 3 && code != 304) || !m_response.Location.empty();
    // The response's own body comes first, redirect or not, so that it lands in the sink.
    ReadResponseBody(sink, bodyless);

    // An error status read to its end: the connection stays for the next exchange unless the server
    // ends it.
    const bool failed = redirectLike || code / 100 != 2;
    if (ServerEndsConnection())
        CloseConnection();
    else if (!failed)
        ProbePeerClosed();
    if (failed)
        throw EIdProtocolReplyError(m_responseCode, m_responseText);
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
    }
    SetPort(targetPort);
    return uri.Path + uri.Document;
}

void TIdHTTP::SendRequest(const std::string& target)
{
    m_headers.Clear();
    m_request.ContentLength = 0;
    m_request.WriteRequestLines(m_headers);

    // One send per line: nothing is buffered.
    WriteLine("GET " + target + " HTTP/1.1");
    WriteLine("Host: " + m_hostHeader);
    for (const std::string& line : m_headers)
        WriteLine(line);
    WriteLine("");
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

bool TIdHTTP::ServerEndsConnection() const
{
    return m_server10 || equalsNoCase(trimBytes(m_response.Connection, kBlankAndControls), "CLOSE");
}

} // namespace qm
