#include "net/tidsockethandle.h"

#include "net/eidexception.h"
#include "net/tidstack.h"

#include <sys/socket.h>
#include <vector>

namespace qm {

void TIdSocketHandle::SetPeer(std::string ip, int port)
{
    m_peerIP = std::move(ip);
    m_peerPort = port;
}

void TIdSocketHandle::AllocateHandle()
{
    ReleaseSocket();
    const int s = m_stack.NewStreamSocket();
    if (s == kInvalidSocket)
        throw EIdInvalidSocket();
    m_handle = s;
    m_hasSocket = true;
}

void TIdSocketHandle::BindLocal()
{
    if (m_stack.CheckSocketResult(m_stack.Bind(m_handle, 0, 0), {WSAEADDRINUSE}))
        throw EIdCouldNotBindSocket();
    TIdSocketAddress local;
    m_stack.CheckSocketResult(m_stack.GetSockName(m_handle, local));
    m_ip = local.Address;
    m_port = local.Port;
}

bool TIdSocketHandle::ConnectPeer(int timeoutMs)
{
    // A port the address structure cannot hold must not wrap round to another port.
    if (m_peerPort < 1 || m_peerPort > 65535)
        TIdStack::RaiseSocketFailure(WSAEADDRNOTAVAIL);
    const std::uint32_t address = TIdStack::ParseDottedQuad(m_peerIP);
    if (m_stack.CheckSocketResult(m_stack.Connect(m_handle, address, m_peerPort),
                                  {WSAEINPROGRESS, WSAEWOULDBLOCK})) {
        if (!WaitWritable(timeoutMs))
            return false;
        if (const int error = m_stack.PendingError(m_handle); error != 0)
            TIdStack::RaiseSocketFailure(error);
    }
    TIdSocketAddress local;
    TIdSocketAddress remote;
    m_stack.CheckSocketResult(m_stack.GetSockName(m_handle, local));
    m_stack.CheckSocketResult(m_stack.GetPeerName(m_handle, remote));
    m_ip = local.Address;
    m_port = local.Port;
    m_peerIP = remote.Address;
    m_peerPort = remote.Port;
    return true;
}

bool TIdSocketHandle::WaitReadable(int timeoutMs)
{
    if (!m_hasSocket)
        throw EIdConnClosedGracefully();
    std::vector<int> readList{m_handle};
    return m_stack.SelectSockets(&readList, nullptr, nullptr, timeoutMs) == 1;
}

bool TIdSocketHandle::WaitWritable(int timeoutMs)
{
    if (!m_hasSocket)
        throw EIdConnClosedGracefully();
    std::vector<int> writeList{m_handle};
    return m_stack.SelectSockets(nullptr, &writeList, nullptr, timeoutMs) == 1;
}

void TIdSocketHandle::ReleaseSocket()
{
    if (!m_hasSocket)
        return;
    m_hasSocket = false;
    (void)m_stack.Shutdown(m_handle, SHUT_WR);
    (void)m_stack.CloseSocket(m_handle);
    ClearBinding();
}

void TIdSocketHandle::ClearBinding()
{
    m_handle = -1;
    Reset();
}

void TIdSocketHandle::Reset()
{
    m_ip.clear();
    m_port = 0;
    m_peerIP.clear();
    m_peerPort = 0;
}

} // namespace qm

