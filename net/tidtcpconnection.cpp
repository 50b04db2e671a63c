#include "net/tidtcpconnection.h"

#include "net/eidexception.h"
#include "net/tidstack.h"
#include "net/tstream.h"

#include <algorithm>

namespace qm {

TIdTCPConnection::TIdTCPConnection(const StackFactory& makeStack)
    : TIdComponent(makeStack)
    , m_binding(std::make_unique<TIdSocketHandle>(GStack()))
    , m_receiveScratch(kRecvBufferSize)
{
}

// Releasing the handle closes the socket without notifications.
TIdTCPConnection::~TIdTCPConnection() = default;

void TIdTCPConnection::SetRecvBufferSize(int size)
{
    m_recvBufferSize = std::max(size, 1);
    m_receiveScratch.resize(static_cast<std::size_t>(m_recvBufferSize));
}

bool TIdTCPConnection::IsConnected()
{
    CheckPeerClosed(false);
    return m_binding->HasSocket();
}

void TIdTCPConnection::CloseConnection()
{
    if (!m_binding->HasSocket())
        return;
    m_binding->ReleaseSocket();
    m_peerClosed = true;
}

void TIdTCPConnection::CheckPeerClosed(bool raise, bool ignoreBuffer)
{
    if (!m_peerClosed && m_binding->HasSocket())
        return;
    CloseConnection();
    if (raise && (m_inputBuffer.Empty() || ignoreBuffer))
        throw EIdConnClosedGracefully();
}

void TIdTCPConnection::ProbePeerClosed(int timeoutMs)
{
    try {
        ReceiveChunk(false, timeoutMs);
    } catch (const EIdSocketError&) {
        // A reset seen here only tells that the connection is over.
        CloseConnection();
    }
}

int TIdTCPConnection::WaitBudget(int limitMs, bool& byDeadline) const
{
    byDeadline = false;
    if (!m_deadline)
        return limitMs;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_deadline - Clock::now()).count();
    if (left <= 0)
        throw EIdExchangeTimeout();
    // A negative limit means none of its own; the deadline still holds.
    if (limitMs < 0 || left < limitMs) {
        byDeadline = true;
        return static_cast<int>(left);
    }
    return limitMs;
}

bool TIdTCPConnection::WaitForInput(int timeoutMs)
{
    if (timeoutMs != IdTimeoutDefault)
        return m_binding->WaitReadable(std::max(timeoutMs, 0));
    WaitWithinLimits<EIdReadTimeout>(m_readTimeoutMs, [this](int ms) { return m_binding->WaitReadable(ms); });
    return true;
}

int TIdTCPConnection::ReceiveChunk(bool raise, int timeoutMs)
{
    // Received straight into the end of InputBuffer rather than copied there from the scratch area.
    const auto size = static_cast<std::size_t>(m_recvBufferSize);
    const int n = ReceiveChunk(raise, timeoutMs, m_inputBuffer.PrepareAppend(size), size);
    m_inputBuffer.CommitAppend(static_cast<std::size_t>(n));
    return n;
}

int TIdTCPConnection::ReceiveChunk(bool raise, int timeoutMs, char* data, std::size_t size)
{
    CheckPeerClosed(raise);
    if (!IsConnected())
        return 0;
    if (timeoutMs == IdTimeoutDefault && m_deadline && Clock::now() >= *m_deadline)
        throw EIdExchangeTimeout();
    TIdStack& stack = GStack();
    ssize_t n = 0;
    // The socket does not block: bytes already there are taken at once, and only when there are
    // none yet does the receive wait for them.
    while ((n = stack.Recv(m_binding->Handle(), data, size)) == kSocketError && stack.LastError() == WSAEWOULDBLOCK) {
        if (!WaitForInput(timeoutMs))
            return 0;
    }
    m_peerClosed = (n == 0);
    if (n == kSocketError) {
        const int code = stack.LastError();
        if (code != WSAESHUTDOWN)
            TIdStack::RaiseSocketFailure(code);
        n = 0;
        CloseConnection();
        if (m_inputBuffer.Empty())
            TIdStack::RaiseSocketFailure(code);
    }
    // The peer's close with an empty InputBuffer raises here when asked to.
    CheckPeerClosed(raise);
    return static_cast<int>(n);
}

std::string TIdTCPConnection::ReadLine(int timeoutMs)
{
    m_lineTimedOut = false;
    // Each search starts where the previous one stopped, so a long line arriving in small pieces is
    // scanned once, not once per piece.
    std::size_t from = 0;
    std::size_t found = 0;
    while ((found = m_inputBuffer.Find("\n", from)) == std::string::npos) {
        const std::size_t buffered = m_inputBuffer.Size();
        if (static_cast<std::int64_t>(buffered) > m_maxLineLength)
            throw EIdLineTooLong(m_maxLineLength);
        from = buffered;
        CheckPeerClosed(true, true);
        const int n = ReceiveChunk(true, timeoutMs);
        m_lineTimedOut = (n == 0);
        if (n == 0)
            return {};
    }
    if (static_cast<std::int64_t>(found) > m_maxLineLength)
        throw EIdLineTooLong(m_maxLineLength);
    std::string line(m_inputBuffer.Data(), found);
    m_inputBuffer.Remove(found + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

bool TIdTCPConnection::ReadToStream(TStream& stream, std::int64_t count, bool untilClose, std::int64_t maxBytes)
{
    // The length-prefixed form (count -1) is not used by this program: a negative count reads nothing.
    const std::int64_t limit = untilClose ? maxBytes : std::max<std::int64_t>(count, 0);
    const StreamEnd end(stream);

    std::int64_t got = std::min<std::int64_t>(static_cast<std::int64_t>(m_inputBuffer.Size()), limit);
    if (got > 0) {
        stream.Write(m_inputBuffer.Data(), static_cast<std::size_t>(got));
        m_inputBuffer.Remove(static_cast<std::size_t>(got));
    }
    while (got < limit && IsConnected()) {
        // Never asks the socket for more than is still missing.
        const auto area = static_cast<std::size_t>(std::min<std::int64_t>(limit - got, m_recvBufferSize));
        const int n = ReceiveChunk(!untilClose, IdTimeoutDefault, m_receiveScratch.data(), area);
        stream.Write(m_receiveScratch.data(), static_cast<std::size_t>(n));
        got += n;
    }
    // At the limit of an until-close read: the peer's close is a normal end, any further byte is not.
    if (!untilClose || got < limit)
        return false;
    if (!m_inputBuffer.Empty())
        return true;
    return IsConnected() && ReceiveChunk(false, IdTimeoutDefault) > 0;
}

void TIdTCPConnection::WriteLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size() + 2);
    line.append(text).append("\r\n");
    std::string_view bytes = line;
    CheckPeerClosed(true, true);
    TIdStack& stack = GStack();
    while (!bytes.empty()) {
        const ssize_t n = stack.Send(m_binding->Handle(), bytes.data(), bytes.size());
        if (n == kSocketError && stack.LastError() == WSAEWOULDBLOCK) {
            // The peer has not taken what was sent before; wait for room, within the limits.
            WaitWithinLimits<EIdWriteTimeout>(m_readTimeoutMs, [this](int ms) { return m_binding->WaitWritable(ms); });
            continue;
        }
        m_peerClosed = (n == 0);
        CheckPeerClosed(true);
        if (n == kSocketError) {
            const int code = stack.LastError();
            if (code == WSAESHUTDOWN)
                CloseConnection();
            TIdStack::RaiseSocketFailure(code);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace qm
