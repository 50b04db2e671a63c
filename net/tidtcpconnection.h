#pragma once

// A blocking TCP connection: the socket, the bytes received and not yet consumed (InputBuffer), the
// line reader, the stream reader and the send loop. Every read takes from InputBuffer first.
//
// Waits: a timeout of IdTimeoutDefault means "as long as the connection's own limits allow": at most
// ReadTimeout for each wait and never past the exchange deadline, and reaching either raises
// (EIdReadTimeout, EIdExchangeTimeout) rather than passing for a close. An explicit timeout in
// milliseconds ends the wait quietly, as a receive of nothing.

#include "net/eidexception.h"
#include "net/tidbuffer.h"
#include "net/tidcomponent.h"
#include "net/tidsockethandle.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TStream;

inline constexpr int IdTimeoutDefault = -2;
inline constexpr int kRecvBufferSize = 32768;
// Longest wait for one receive or send.
inline constexpr int kReadTimeoutMs = 30'000;
// Longest line ReadLine accepts, terminator not counted.
inline constexpr std::int64_t kMaxLineLength = std::int64_t{64} * 1024;
// What an until-close read takes at most unless told otherwise.
inline constexpr std::int64_t kUntilCloseLimit = 2147483647;

class TIdTCPConnection : public TIdComponent {
public:
    using Clock = std::chrono::steady_clock;

    explicit TIdTCPConnection(const StackFactory& makeStack = {});
    ~TIdTCPConnection() override;

    void SetRecvBufferSize(int size);
    // Longest wait for one receive or send, in milliseconds; negative for no limit of its own.
    void SetReadTimeout(int milliseconds) { m_readTimeoutMs = milliseconds; }
    void SetMaxLineLength(std::int64_t length) { m_maxLineLength = length; }
    // Waits of IdTimeoutDefault end at this moment at the latest; none by default.
    void SetDeadline(std::optional<Clock::time_point> deadline) { m_deadline = deadline; }

    TIdSocketHandle& Binding() { return *m_binding; }
    TIdBuffer& InputBuffer() { return m_inputBuffer; }
    bool LineTimedOut() const { return m_lineTimedOut; }

    // Whether a socket is held, after closing it when the peer is known to have closed.
    bool IsConnected();
    // Closes a held socket; nothing without one.
    void CloseConnection();
    // When the peer closed or no socket is held: closes a held socket, then raises
    // EIdConnClosedGracefully if raise is set and InputBuffer is empty or ignoreBuffer is set.
    void CheckPeerClosed(bool raise, bool ignoreBuffer = false);
    // Notices a close that has already happened (one receive of at most timeoutMs into
    // InputBuffer); never raises.
    void ProbePeerClosed(int timeoutMs = 1);
    // One receive into InputBuffer; returns the bytes received, 0 when the explicit timeout passed or
    // the peer closed.
    int ReceiveChunk(bool raise, int timeoutMs);
    // One receive of at most size bytes into data.
    int ReceiveChunk(bool raise, int timeoutMs, char* data, std::size_t size);
    // The next line, without its LF and a CR before it. Returns "" with LineTimedOut() set when the
    // wait ended without a line (explicit timeout, or the peer's close with part of a line buffered).
    // Raises EIdLineTooLong for a line over the longest line (kMaxLineLength unless set).
    std::string ReadLine(int timeoutMs = IdTimeoutDefault);
    // Writes count bytes (or, untilClose, everything until the peer closes, at most maxBytes) at the
    // stream's position. After any end the stream holds its old bytes up to the starting position
    // plus exactly the bytes received. Returns true when an until-close read stopped at maxBytes
    // because more bytes came; those stay in InputBuffer.
    bool ReadToStream(TStream& stream, std::int64_t count, bool untilClose, std::int64_t maxBytes = kUntilCloseLimit);
    // Sends the text followed by CR LF at once, all of it (no write buffering).
    void WriteLine(std::string_view text);

protected:
    // Calls wait with the milliseconds it may last: limitMs (no limit of its own when negative), cut
    // short by the deadline. When wait answers false, raises EIdExchangeTimeout if the deadline was
    // the nearer bound, else Timeout; a deadline already past raises EIdExchangeTimeout at once.
    template <class Timeout, class Wait> void WaitWithinLimits(int limitMs, Wait wait) const
    {
        bool byDeadline = false;
        if (wait(WaitBudget(limitMs, byDeadline)))
            return;
        if (byDeadline)
            throw EIdExchangeTimeout();
        throw Timeout();
    }
    void SetPeerClosed(bool closed) { m_peerClosed = closed; }

private:
    // Milliseconds a wait of the given limit may last before the deadline; sets byDeadline when the
    // deadline is the nearer bound. Raises EIdExchangeTimeout when the deadline has passed.
    int WaitBudget(int limitMs, bool& byDeadline) const;
    // Waits for input as the timeout says (see the class comment).
    bool WaitForInput(int timeoutMs);

    std::unique_ptr<TIdSocketHandle> m_binding;
    TIdBuffer m_inputBuffer;
    std::vector<char> m_receiveScratch;
    int m_recvBufferSize = kRecvBufferSize;
    int m_readTimeoutMs = kReadTimeoutMs;
    std::int64_t m_maxLineLength = kMaxLineLength;
    std::optional<Clock::time_point> m_deadline;
    bool m_peerClosed = false;
    bool m_lineTimedOut = false;
};

} // namespace qm
