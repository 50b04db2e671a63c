#pragma once

// The socket stack over POSIX sockets, IPv4. Sockets are non-blocking and every wait is a poll, so
// that descriptors above 1023 work and no wait is without a limit; sends never raise SIGPIPE; an
// interrupted call is repeated, never reported. Native errors are mapped onto Windows Sockets codes.

#include "net/tidstack.h"

namespace qm {

// The POSIX sockets are part of the C library: they cannot fail to load or start, so the start-up
// failures happen only through the stack factory of TIdComponent.
class TIdStackPosix : public TIdStack {
public:
    int NewStreamSocket() override;
    int Bind(int socket, std::uint32_t address, int port) override;
    int Connect(int socket, std::uint32_t address, int port) override;
    int PendingError(int socket) override;
    ssize_t Recv(int socket, char* data, std::size_t size) override;
    ssize_t Send(int socket, const char* data, std::size_t size) override;
    int Shutdown(int socket, int how) override;
    int CloseSocket(int socket) override;
    int WaitSocket(int socket, bool forWrite, int timeoutMs) override;
    int LastError() const override;

    // The Windows Sockets code for a native error number; codes without a counterpart keep their
    // native number (below the Windows Sockets range, so their message has no text).
    static int CodeFromErrno(int error);
    // The Windows Sockets code for a getaddrinfo result (errorNumber is errno, for EAI_SYSTEM).
    static int CodeFromResolverError(int result, int errorNumber);

protected:
    std::uint32_t LookupHostName(std::string_view host) override;
    // Records the code of a failed call for LastError() and returns kSocketError.
    static int Fail(int code);
};

} // namespace qm
