#include "net/tidsockethandle.h"

#include "net/eidexception.h"
#include "net/tidstack.h"

#include <sys/socket.h>

namespace qm {

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
}

bool TIdSocketHandle::ConnectPeer(std::string_view ip, int port, int timeoutMs)
{
    // A port the address structure cannot hold must not wrap round to another port.
    if (port < 1 || port > 65535)
        TIdStack::RaiseSocketFailure(WSAEADDRNOTAVAIL);
    const std::uint32_t address = TIdStack::ParseDottedQuad(ip);
    if (m_stack.CheckSocketResult(m_stack.Connect(m_handle, address, port), {WSAEINPROGRESS, WSAEWOULDBLOCK})) {
        if (!WaitWritable(timeoutMs))
            return false;
        if (const int error = m_stack.PendingError(m_handle); error != 0)
            TIdStack::RaiseSocketFailure(error);
    }
    return true;
}

bool TIdSocketHandle::Wait(bool forWrite, int timeoutMs)
{
    if (!m_hasSocket)
        throw EIdConnClosedGracefully();
    return m_stack.WaitSocket(m_handle, forWrite, timeoutMs) == 1;
}

void TIdSocketHandle::ReleaseSocket()
{
    if (!m_hasSocket)
        return;
    m_hasSocket = false;
    (void)m_stack.Shutdown(m_handle, SHUT_WR);
    (void)m_stack.CloseSocket(m_handle);
    m_handle = -1;
}

} // namespace qm
