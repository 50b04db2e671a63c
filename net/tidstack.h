#pragma once

// The socket stack: the process-wide layer between the network components and the system's sockets.
// It creates sockets, resolves host names, waits on sockets and turns socket error codes into
// messages. Error codes are the Windows Sockets codes of the error table (10004 to 10066, and the
// resolver's 11001 to 11004); an implementation maps its native errors onto them. A failed call
// returns kSocketError and leaves its code in LastError().
//
// The calls are over POSIX sockets, IPv4 (tidstackposix.cpp); tests override them. Sockets are
// non-blocking and every wait is a poll, so that descriptors above 1023 work and no wait is without a
// limit; sends never raise SIGPIPE; an interrupted call is repeated, never reported. Native errors are
// mapped onto Windows Sockets codes. The POSIX sockets are part of the C library: they cannot fail to
// load or start, so the start-up failures happen only through the stack factory of TIdComponent.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace qm {

inline constexpr int kSocketError = -1;
inline constexpr int kInvalidSocket = -1;

// Windows Sockets codes the layer itself, or a caller naming a failure, acts on.
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

class TIdStack {
public:
    TIdStack() = default;
    virtual ~TIdStack() = default;
    TIdStack(const TIdStack&) = delete;
    TIdStack& operator=(const TIdStack&) = delete;

    // --- Socket calls: each returns kSocketError (kInvalidSocket) on failure, code in LastError().
    // Sockets are non-blocking; waits go through SelectSockets.
    virtual int NewStreamSocket();
    // address is four bytes in network order; 0 means any local address.
    virtual int Bind(int socket, std::uint32_t address, int port);
    // Starts a connect; WSAEINPROGRESS means it goes on in the background (wait until writable,
    // then ask PendingError).
    virtual int Connect(int socket, std::uint32_t address, int port);
    // The socket's pending error as a Windows Sockets code, 0 for none.
    virtual int PendingError(int socket);
    virtual ssize_t Recv(int socket, char* data, std::size_t size);
    // Never raises a signal, whatever the peer did.
    virtual ssize_t Send(int socket, const char* data, std::size_t size);
    virtual int Shutdown(int socket, int how);
    virtual int CloseSocket(int socket);
    // Code of the last failed call of this thread.
    virtual int LastError() const;

    // --- Addresses
    // "LOCALHOST" in any letter case is 127.0.0.1; a dotted quad is itself; any other name is looked
    // up. A name that cannot be resolved raises EIdSocketError with the resolver's code.
    std::string ResolveAddress(std::string_view host);
    static bool IsDottedQuad(std::string_view text);
    // Four parts cut at "."; a part that is no integer raises EConvertError. In network order.
    static std::uint32_t ParseDottedQuad(std::string_view text);
    static std::string FormatDottedQuad(std::uint32_t address);

    // Waits until the socket can be read (or, forWrite, written) or is in error: 1 then, 0 on
    // time-out. timeoutMs < 0 waits without a limit of its own. An interrupted wait goes on with the
    // time that is left.
    virtual int WaitSocket(int socket, bool forWrite, int timeoutMs);

    // --- Errors
    // false when result is no failure; true when LastError() is one of expected (the caller deals
    // with it); otherwise raises EIdSocketError with the code.
    bool CheckSocketResult(long result, std::initializer_list<int> expected = {}) const;
    [[noreturn]] static void RaiseSocketFailure(int code);
    // The text of the error table; "" for any code not in it.
    static std::string_view SocketErrorText(int code);
    // The Windows Sockets code for a native error number; codes without a counterpart keep their
    // native number (below the Windows Sockets range, so their message has no text).
    static int CodeFromErrno(int error);
    // The Windows Sockets code for a getaddrinfo result (errorNumber is errno, for EAI_SYSTEM).
    static int CodeFromResolverError(int result, int errorNumber);

protected:
    // The first IPv4 address of a name that is no dotted quad, in network order; raises as
    // ResolveAddress says.
    virtual std::uint32_t LookupHostName(std::string_view host);
    // Records the code of a failed call for LastError() and returns kSocketError.
    static int Fail(int code);
};

} // namespace qm
