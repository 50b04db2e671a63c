#pragma once

// The client side of a TCP connection: where to connect and how.

#include "net/tidtcpconnection.h"

#include <string>

namespace qm {

// Longest wait for a connect attempt.
inline constexpr int kConnectTimeoutMs = 10'000;

class TIdTCPClient : public TIdTCPConnection {
public:
    using TIdNotifyEvent = std::function<void(TIdTCPClient& sender)>;

    TIdTCPClient() = default;

    const std::string& Host() const { return m_host; }
    void SetHost(std::string host) { m_host = std::move(host); }
    int Port() const { return m_port; }
    void SetPort(int port) { m_port = port; }
    // Local address to bind to; empty for any.
    const std::string& BoundIP() const { return m_boundIP; }
    void SetBoundIP(std::string ip) { m_boundIP = std::move(ip); }
    bool UseNagle() const { return m_useNagle; }
    void SetUseNagle(bool use) { m_useNagle = use; }
    int ConnectTimeout() const { return m_connectTimeoutMs; }
    void SetConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }

    TIdNotifyEvent OnConnected;

    // Resolves Host and connects a new socket to Port. Raises EIdAlreadyConnected while a socket is
    // held (leaving it alone); any later failure closes the new socket before it is passed on, so the
    // connection can be opened again.
    void OpenConnection();

private:
    std::string m_host;
    int m_port = 0;
    std::string m_boundIP;
    bool m_useNagle = true;
    int m_connectTimeoutMs = kConnectTimeoutMs;
};

} // namespace qm
