#pragma once

// One connection's socket and its addresses. Owned by the connection; releasing it closes the socket.

#include <cstdint>
#include <string>

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
    const std::string& PeerIP() const { return m_peerIP; }
    int PeerPort() const { return m_peerPort; }
    void SetPeer(std::string ip, int port);

    // A new stream socket, releasing any held one first; raises EIdInvalidSocket.
    void AllocateHandle();
    // Binds to any local address and port. Raises EIdCouldNotBindSocket when the address is in use,
    // EIdSocketError for other failures.
    void BindLocal();
    // Connects to PeerIP():PeerPort(). Returns false when timeoutMs passed first; raises
    // EIdSocketError when the connect fails.
    bool ConnectPeer(int timeoutMs);
    // Whether bytes (or the peer's close) can be read within timeoutMs. Time-outs and failed waits
    // both answer false. Raises EIdConnClosedGracefully without a socket.
    bool WaitReadable(int timeoutMs);
    // Whether bytes can be sent within timeoutMs.
    bool WaitWritable(int timeoutMs);
    // Stops sending and closes the socket; results are ignored.
    void ReleaseSocket();

private:
    TIdStack& m_stack;
    bool m_hasSocket = false;
    int m_handle = -1;
    std::string m_peerIP;
    int m_peerPort = 0;
};

} // namespace qm
