// Arbitrary response bytes through the HTTP client, over a socket pair standing in for the
// connection. The first input byte chooses how many bytes each receive may take, so that line and
// chunk boundaries fall at every place in the receive buffer; the second chooses the size limits
// (small ones, so that each limit is reached; the body limit at most 1 MiB, so that a huge announced
// length does not cost a large reservation in every run). The rest is the server's whole answer,
// followed by its close.
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tidstack.h"
#include "net/tmemorystream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace qm;

// Hands out the prepared end of the socket pair as "the" new socket; binding, connecting and looking
// up names are acted out, so that nothing leaves the process.
class SocketPairStack final : public TIdStack {
public:
    static inline int s_nextSocket = -1;

    int NewStreamSocket() override
    {
        const int s = s_nextSocket;
        s_nextSocket = -1;
        return s < 0 ? Fail(10024) : s;
    }
    int Bind(int, std::uint32_t, int) override { return 0; }
    int Connect(int, std::uint32_t, int) override { return 0; }

protected:
    std::uint32_t LookupHostName(std::string_view) override { return ParseDottedQuad("127.0.0.1"); }
};

constexpr std::array<int, 8> kReceiveSizes = {1, 2, 3, 7, 16, 64, 1000, 32768};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int receiveSize = kReceiveSizes[data[0] % kReceiveSizes.size()];
    const std::uint8_t choice = data[1];
    const std::int64_t maxLine = (choice & 1) ? 64 : kMaxLineLength;
    const std::int64_t maxHeader = (choice & 2) ? 256 : kMaxHeaderBytes;
    const std::int64_t maxBody = (choice & 4) ? 100 : 1 << 20;
    data += 2;
    size -= 2;

    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair) != 0)
        std::abort();
    const int bufferSize = 1 << 20;
    ::setsockopt(pair[1], SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(pair[1], data + written, size - written);
        if (n <= 0)
            break; // the pair's buffer is full: the answer is cut there
        written += static_cast<std::size_t>(n);
    }
    ::shutdown(pair[1], SHUT_WR);
    SocketPairStack::s_nextSocket = pair[0];

    {
        TIdHTTP http([] { return std::make_unique<SocketPairStack>(); });
        http.SetRecvBufferSize(receiveSize);
        http.SetMaxLineLength(maxLine);
        http.SetMaxHeaderBytes(maxHeader);
        http.SetMaxBodyBytes(maxBody);
        // Every byte and the close are there from the start: no wait ever lasts.
        http.SetReadTimeout(1000);
        TMemoryStream sink;
        try {
            http.GetDocument("http://127.0.0.1/fuzz/page.html", sink);
        } catch (const EIdException&) {
        } catch (const EConvertError&) {
        }
        // A hostile answer must not make the sink or the unread input grow past their bounds: a
        // line and one receive, plus receives for the closing checks of the exchange.
        const auto inputBound = static_cast<std::size_t>(maxLine + 4 * receiveSize);
        if (sink.Size() > maxBody || http.InputBuffer().Size() > inputBound)
            std::abort();
    }
    if (SocketPairStack::s_nextSocket >= 0)
        ::close(SocketPairStack::s_nextSocket);
    SocketPairStack::s_nextSocket = -1;
    ::close(pair[1]);
    return 0;
}
