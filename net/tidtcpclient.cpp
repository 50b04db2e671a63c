#include "net/tidtcpclient.h"

#include "net/eidexception.h"
#include "net/tidstack.h"

namespace qm {

void TIdTCPClient::OpenConnection()
{
    TIdSocketHandle& binding = Binding();
    if (binding.HasSocket())
        throw EIdAlreadyConnected();
    binding.Reset();
    InputBuffer().Clear();
    SetPeerClosed(false);
    binding.AllocateHandle();
    try {
        binding.SetIP(m_boundIP);
        binding.BindLocal();
        if (!TIdStack::IsDottedQuad(m_host))
            DoStatus(TIdStatus::hsResolving, m_host);
        binding.SetPeer(GStack().ResolveAddress(m_host), m_port);
        if (!m_useNagle)
            GStack().CheckSocketResult(GStack().SetNoDelay(binding.Handle()));
        DoStatus(TIdStatus::hsConnecting, binding.PeerIP());
        WaitWithinLimits<EIdConnectTimeout>(m_connectTimeoutMs, [&binding](int ms) { return binding.ConnectPeer(ms); });
    } catch (...) {
        try {
            CloseConnection();
        } catch (...) { // NOLINT(bugprone-empty-catch): the first failure is the one to report
        }
        throw;
    }
    DoStatus(TIdStatus::hsConnected);
    if (OnConnected)
        OnConnected(*this);
}

} // namespace qm
