#include "net/tidtcpclient.h"

#include "net/eidexception.h"
#include "net/tidstack.h"

namespace qm {

void TIdTCPClient::OpenConnection()
{
    TIdSocketHandle& binding = Binding();
    if (binding.HasSocket())
        throw EIdAlreadyConnected();
    InputBuffer().Clear();
    SetPeerClosed(false);
    binding.AllocateHandle();
    try {
        binding.BindLocal();
        binding.SetPeer(GStack().ResolveAddress(m_host), m_port);
        WaitWithinLimits<EIdConnectTimeout>(m_connectTimeoutMs, [&binding](int ms) { return binding.ConnectPeer(ms); });
    } catch (...) {
        CloseConnection(); // releases the socket, ignoring the system's results: cannot raise
        throw;
    }
}

} // namespace qm
