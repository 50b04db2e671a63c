#include "net/tidstack.h"

#include "net/eidexception.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qm {
namespace {

thread_local int t_lastError = 0;

sockaddr_in MakeAddress(std::uint32_t address, int port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

} // namespace

int TIdStack::Fail(int code)
{
    t_lastError = code;
    return kSocketError;
}

int TIdStack::LastError() const { return t_lastError; }

int TIdStack::NewStreamSocket()
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    return s < 0 ? Fail(CodeFromErrno(errno)) : s;
}

int TIdStack::Bind(int socket, std::uint32_t address, int port)
{
    const sockaddr_in sa = MakeAddress(address, port);
    if (::bind(socket, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
        return Fail(CodeFromErrno(errno));
    return 0;
}

int TIdStack::Connect(int socket, std::uint32_t address, int port)
{
    const sockaddr_in sa = MakeAddress(address, port);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
        return 0;
    // An interrupted connect of a non-blocking socket goes on in the background like one in progress.
    if (errno == EINTR || errno == EINPROGRESS)
        return Fail(WSAEINPROGRESS);
    return Fail(CodeFromErrno(errno));
}

int TIdStack::PendingError(int socket)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return CodeFromErrno(errno);
    return error == 0 ? 0 : CodeFromErrno(error);
}

ssize_t TIdStack::Recv(int socket, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::recv(socket, data, size, 0);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return Fail(CodeFromErrno(errno));
    }
}

ssize_t TIdStack::Send(int socket, const char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::send(socket, data, size, MSG_NOSIGNAL);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return Fail(CodeFromErrno(errno));
    }
}

int TIdStack::Shutdown(int socket, int how) { return ::shutdown(socket, how) == 0 ? 0 : Fail(CodeFromErrno(errno)); }

int TIdStack::CloseSocket(int socket)
{
    // Not repeated on EINTR: on Linux the descriptor is gone whatever close reports.
    return ::close(socket) == 0 ? 0 : Fail(CodeFromErrno(errno));
}

int TIdStack::WaitSocket(int socket, bool forWrite, int timeoutMs)
{
    pollfd fd{socket, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<long long>(left.count(), 0));
        }
        // A socket in error or hung up counts as ready: the next call on it reports what happened.
        const int ready = ::poll(&fd, 1, wait);
        if (ready >= 0)
            return ready;
        if (errno != EINTR)
            return Fail(CodeFromErrno(errno));
    }
}

std::uint32_t TIdStack::LookupHostName(std::string_view host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string name(host);
    const int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (result != 0 || found == nullptr) {
        const int code = result != 0 ? CodeFromResolverError(result, errno) : WSANO_DATA;
        Fail(code);
        RaiseSocketFailure(code);
    }
    const std::uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return address;
}

int TIdStack::CodeFromErrno(int error)
{
    switch (error) {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES:
    case EPERM: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE:
    case ENFILE: return 10024;
    case EWOULDBLOCK: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    // A send to a peer that reset the connection fails with EPIPE once the reset was reported.
    case ECONNRESET:
    case EPIPE: return 10054;
    case ENOBUFS:
    case ENOMEM: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    default: return error;
    }
}

int TIdStack::CodeFromResolverError(int result, int errorNumber)
{
    switch (result) {
    case EAI_NONAME: return WSAHOST_NOT_FOUND;
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
        return WSANO_DATA;
    case EAI_AGAIN: return WSATRY_AGAIN;
    case EAI_FAIL: return WSANO_RECOVERY;
    case EAI_MEMORY: return 10055;
    case EAI_FAMILY: return 10047;
    case EAI_SOCKTYPE: return 10044;
    case EAI_BADFLAGS: return 10022;
    case EAI_SYSTEM: return errorNumber != 0 ? CodeFromErrno(errorNumber) : WSANO_RECOVERY;
    default: return WSANO_RECOVERY;
    }
}

} // namespace qm
