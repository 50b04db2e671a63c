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
        const std::string ip = GStack().ResolveAddress(m_host);
        WaitWithinLimits<EIdConnectTimeout>(m_connectTimeoutMs,
                                            [&](int ms) { return binding.ConnectPeer(ip, m_port, ms); });
    } catch (...) {
        CloseConnection(); // releases the socket, ignoring the system's results: cannot raise
        throw;
    }
}

} // namespace qm
