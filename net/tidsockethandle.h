#pragma once

// One connection's socket and its addresses. Owned by the connection; releasing it closes the socket.

#include <cstdint>
#include <string_view>

namespace qm {

class TIdStack;

class TIdSocketHandle final {
public:
    explicit TIdSocketHandle(TIdStack& stack) : m_stack(stack) {}
    ~TIdSocketHandle() { ReleaseSocket(); }
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    bool HasSocket() const { return m_hasSocket; }
    int Handle() const { return m_handle; }

    // A new stream socket, releasing any held one first; raises EIdInvalidSocket.
    void AllocateHandle();
    // Binds to any local address and port. Raises EIdCouldNotBindSocket when the address is in use,
    // EIdSocketError for other failures.
    void BindLocal();
    // Connects to ip (a dotted quad) and port. Returns false when timeoutMs passed first; raises
    // EIdSocketError when the connect fails.
    bool ConnectPeer(std::string_view ip, int port, int timeoutMs);
    // Whether bytes (or the peer's close) can be read, or bytes can be sent, within timeoutMs.
    // Time-outs and failed waits both answer false. Raise EIdConnClosedGracefully without a socket.
    bool WaitReadable(int timeoutMs) { return Wait(false, timeoutMs); }
    bool WaitWritable(int timeoutMs) { return Wait(true, timeoutMs); }
    // Stops sending and closes the socket; results are ignored.
    void ReleaseSocket();

private:
    bool Wait(bool forWrite, int timeoutMs);

    TIdStack& m_stack;
    bool m_hasSocket = false;
    int m_handle = -1;
};

} // namespace qm
