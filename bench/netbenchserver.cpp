#include "bench/netbenchserver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace qm::bench {
namespace {

// The body byte at offset i is 'a' + i % 26; a block of whole alphabets is sent again and again, so
// that a body of any size costs no memory.
const std::string& BodyBlock()
{
    static const std::string block = [] {
        std::string bytes(26 * 40960, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>('a' + i % 26);
        return bytes;
    }();
    return block;
}

std::string Body(std::size_t size)
{
    std::string body;
    for (body.reserve(size); body.size() < size;)
        body.append(BodyBlock(), 0, std::min(BodyBlock().size(), size - body.size()));
    return body;
}

using Answer = NetBenchServer::Answer;

Answer MakeAnswer(const std::string& path)
{
    const std::size_t slash = path.find('/', 1);
    if (slash == std::string::npos)
        return {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"};
    const std::string mode = path.substr(1, slash - 1);
    const std::size_t size = std::strtoull(path.c_str() + slash + 1, nullptr, 10);
    if (mode == "length")
        return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size};
    if (mode == "close")
        return {"HTTP/1.1 200 OK\r\n\r\n", size};
    if (mode == "chunked4") {
        const std::string body = Body(size);
        std::string answer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        answer.reserve(answer.size() + size / 4 * 9 + 16);
        for (std::size_t i = 0; i < size; i += 4) {
            const std::size_t n = std::min<std::size_t>(4, size - i);
            answer += std::to_string(n) + "\r\n";
            answer.append(body, i, n);
            answer += "\r\n";
        }
        return {answer + "0\r\n\r\n"};
    }
    return {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"};
}

bool SendAll(int connection, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(connection, data, size, MSG_NOSIGNAL);
        if (n <= 0 && errno != EINTR)
            return false;
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    return true;
}

} // namespace

NetBenchServer::NetBenchServer(int port)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 64) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
}

NetBenchServer::~NetBenchServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_listener);
}

void NetBenchServer::start()
{
    m_thread = std::thread([this] { run(); });
}

void NetBenchServer::run()
{
    while (!m_stop) {
        pollfd fd{m_listener, POLLIN, 0};
        if (::poll(&fd, 1, 100) <= 0)
            continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            serve(connection);
    }
}

const NetBenchServer::Answer& NetBenchServer::answer(const std::string& path)
{
    const std::lock_guard lock(m_mutex);
    auto found = m_answers.find(path);
    if (found == m_answers.end())
        found = m_answers.emplace(path, MakeAnswer(path)).first;
    return found->second;
}

void NetBenchServer::serve(int connection)
{
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ::close(connection);
            return;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    const Answer& reply = answer(path);
    const std::string& block = BodyBlock();
    bool sending = SendAll(connection, reply.head.data(), reply.head.size());
    for (std::size_t sent = 0; sending && sent < reply.streamed; sent += block.size())
        sending = SendAll(connection, block.data(), std::min(block.size(), reply.streamed - sent));
    // A normal close once the client is done: read until its close (or a second of silence).
    ::shutdown(connection, SHUT_WR);
    pollfd fd{connection, POLLIN, 0};
    while (::poll(&fd, 1, 1000) > 0 && ::recv(connection, buffer, sizeof buffer, 0) > 0) {}
    ::close(connection);
}

} // namespace qm::bench
