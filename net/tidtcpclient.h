#pragma once

// The client side of a TCP connection: where to connect and how.

#include "net/tidtcpconnection.h"

#include <string>

namespace qm {

// Longest wait for a connect attempt.
inline constexpr int kConnectTimeoutMs = 10'000;

class TIdTCPClient : public TIdTCPConnection {
public:
    using TIdTCPConnection::TIdTCPConnection;

    const std::string& Host() const { return m_host; }
    void SetHost(std::string host) { m_host = std::move(host); }
    int Port() const { return m_port; }
    void SetPort(int port) { m_port = port; }
    void SetConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }

    // Binds to any local address, resolves Host and connects a new socket to Port. Raises EIdAlreadyConnected while a
    // socket is held (leaving it alone); any later failure closes the new socket before it is passed on, so the
    // connection can be opened again.
    void OpenConnection();

private:
    std::string m_host;
    int m_port = 0;
    int m_connectTimeoutMs = kConnectTimeoutMs;
};

} // namespace qm
