#include "tests/support/loopbackserver.h"

#include "platform/bytes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace qm::test {

struct LoopbackServer::Connection {
    int fd = -1;
    std::string received; // guarded by the server's mutex
    std::string pending;  // received, not yet taken by a ReadRequest step; the worker's own
    bool done = false;    // guarded by the server's mutex
};

namespace {

constexpr std::chrono::milliseconds kForever{-1};

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The Content-Length of a request head, 0 when it has none.
std::size_t contentLength(std::string_view head)
{
    const std::string lower = asciiLowerCopy(head);
    const std::size_t at = lower.find("\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    std::size_t i = at + 16;
    while (i < lower.size() && lower[i] == ' ')
        ++i;
    std::size_t length = 0;
    while (i < lower.size() && lower[i] >= '0' && lower[i] <= '9')
        length = length * 10 + static_cast<std::size_t>(lower[i++] - '0');
    return length;
}

} // namespace

ServerStep ReadRequest() { return {ServerStep::Kind::ReadRequest, {}, {}}; }
ServerStep Send(std::string bytes) { return {ServerStep::Kind::Send, std::move(bytes), {}}; }
ServerStep Pause(std::chrono::milliseconds delay) { return {ServerStep::Kind::Pause, {}, delay}; }
ServerStep HalfClose() { return {ServerStep::Kind::HalfClose, {}, {}}; }
ServerStep Close() { return {ServerStep::Kind::Close, {}, {}}; }
ServerStep Reset() { return {ServerStep::Kind::Reset, {}, {}}; }
ServerStep Silence() { return {ServerStep::Kind::Silence, {}, {}}; }

void AddSplitSend(Script& script, std::string_view bytes, const std::vector<std::size_t>& cuts,
                  std::chrono::milliseconds pause)
{
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
        script.push_back(Send(std::string(bytes.substr(from, cut - from))));
        script.push_back(Pause(pause));
        from = cut;
    }
    script.push_back(Send(std::string(bytes.substr(from))));
}

void AddDrip(Script& script, std::string_view bytes, std::chrono::milliseconds interval)
{
    for (const char c : bytes) {
        script.push_back(Pause(interval));
        script.push_back(Send(std::string(1, c)));
    }
}

int BindLoopback(int fd)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

RefusingPort::RefusingPort()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    m_port = BindLoopback(m_fd);
    if (m_port == 0)
        throw std::runtime_error("refusing port: cannot bind on 127.0.0.1");
}

RefusingPort::~RefusingPort() { closeFd(m_fd); }

LoopbackServer::LoopbackServer(std::vector<Script> scripts) : LoopbackServer(std::move(scripts), {}, false) {}

std::unique_ptr<LoopbackServer> LoopbackServer::ServingPage(std::string page)
{
    return std::unique_ptr<LoopbackServer>(new LoopbackServer({}, std::move(page), true));
}

LoopbackServer::LoopbackServer(std::vector<Script> scripts, std::string page, bool servingPage)
    : m_scripts(std::move(scripts))
    , m_page(std::move(page))
    , m_servingPage(servingPage)
{
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("loopback server: no pipe");
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    m_port = BindLoopback(m_listener);
    if (m_port == 0 || ::listen(m_listener, 16) != 0) {
        closeFd(m_listener);
        throw std::runtime_error("loopback server: cannot listen on 127.0.0.1");
    }
    m_acceptor = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer()
{
    const char stop = 1;
    (void)!::write(m_stopPipe[1], &stop, 1);
    m_acceptor.join();
    for (std::thread& worker : m_workers)
        worker.join();
    for (auto& connection : m_connections)
        closeFd(connection->fd);
    closeFd(m_listener);
    closeFd(m_stopPipe[0]);
    closeFd(m_stopPipe[1]);
}

std::string LoopbackServer::url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

std::string LoopbackServer::received(std::size_t connection) const
{
    const std::lock_guard lock(m_mutex);
    return connection < m_connections.size() ? m_connections[connection]->received : std::string();
}

std::size_t LoopbackServer::connectionCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_connections.size();
}

bool LoopbackServer::waitUntilDone(std::size_t connection, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout,
                              [&] { return connection < m_connections.size() && m_connections[connection]->done; });
}

void LoopbackServer::acceptLoop()
{
    while (waitFor(m_listener, POLLIN, kForever)) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection& c = *connection;
        std::size_t index = 0;
        {
            const std::lock_guard lock(m_mutex);
            index = m_connections.size();
            m_connections.push_back(std::move(connection));
        }
        const Script* script = index < m_scripts.size() ? &m_scripts[index] : nullptr;
        m_workers.emplace_back([this, &c, script] { serve(c, script); });
        m_changed.notify_all();
    }
}

void LoopbackServer::serve(Connection& connection, const Script* script)
{
    if (m_servingPage) {
        servePage(connection);
    } else if (script != nullptr) {
        for (const ServerStep& step : *script) {
            if (!runStep(connection, step))
                break;
        }
    }
    if (connection.fd >= 0) {
        drain(connection);
        closeFd(connection.fd);
    }
    {
        const std::lock_guard lock(m_mutex);
        connection.done = true;
    }
    m_changed.notify_all();
}

void LoopbackServer::setPage(std::string page)
{
    const std::lock_guard lock(m_mutex);
    m_page = std::move(page);
}

void LoopbackServer::servePage(Connection& connection)
{
    while (readRequest(connection)) {
        std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: ";
        {
            const std::lock_guard lock(m_mutex);
            response += std::to_string(m_page.size()) + "\r\n\r\n" + m_page;
        }
        if (!sendAll(connection, response))
            break;
    }
}

bool LoopbackServer::runStep(Connection& connection, const ServerStep& step)
{
    switch (step.kind) {
    case ServerStep::Kind::ReadRequest: return readRequest(connection);
    case ServerStep::Kind::Send: return sendAll(connection, step.bytes);
    case ServerStep::Kind::Pause: return !waitFor(m_stopPipe[0], POLLIN, step.delay);
    case ServerStep::Kind::HalfClose: ::shutdown(connection.fd, SHUT_WR); return true;
    case ServerStep::Kind::Close:
        drain(connection);
        closeFd(connection.fd);
        return false;
    case ServerStep::Kind::Reset: {
        const linger abortive{1, 0};
        ::setsockopt(connection.fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        closeFd(connection.fd);
        return false;
    }
    case ServerStep::Kind::Silence:
        while (receiveSome(connection, kForever)) {}
        return false;
    }
    return false;
}

bool LoopbackServer::readRequest(Connection& connection)
{
    for (;;) {
        std::size_t end = connection.pending.find("\r\n\r\n");
        std::size_t endLength = 4;
        if (end == std::string::npos) {
            end = connection.pending.find("\n\n");
            endLength = 2;
        }
        if (end != std::string::npos) {
            const std::size_t total
                = end + endLength + contentLength(std::string_view(connection.pending).substr(0, end));
            while (connection.pending.size() < total) {
                if (!receiveSome(connection, kForever))
                    return false;
            }
            connection.pending.erase(0, total);
            return true;
        }
        if (!receiveSome(connection, kForever))
            return false;
    }
}

bool LoopbackServer::receiveSome(Connection& connection, std::chrono::milliseconds timeout)
{
    if (!waitFor(connection.fd, POLLIN, timeout))
        return false;
    char data[65536];
    const ssize_t n = ::recv(connection.fd, data, sizeof data, 0);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR;
    if (n == 0)
        return false;
    connection.pending.append(data, static_cast<std::size_t>(n));
    const std::lock_guard lock(m_mutex);
    connection.received.append(data, static_cast<std::size_t>(n));
    return true;
}

bool LoopbackServer::sendAll(Connection& connection, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::send(connection.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(connection.fd, POLLOUT, kForever))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

bool LoopbackServer::waitFor(int fd, short events, std::chrono::milliseconds timeout) const
{
    pollfd fds[2] = {{m_stopPipe[0], POLLIN, 0}, {fd, events, 0}};
    const nfds_t count = fd == m_stopPipe[0] ? 1 : 2;
    for (;;) {
        const int ready = ::poll(fds, count, static_cast<int>(timeout.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        if (fd == m_stopPipe[0])
            return true;
        if (fds[0].revents != 0)
            return false;
        return (fds[1].revents & (events | POLLERR | POLLHUP)) != 0;
    }
}

void LoopbackServer::drain(Connection& connection)
{
    while (receiveSome(connection, 0ms)) {}
}

int SharedRefusingPort()
{
    static const RefusingPort port;
    return port.port();
}

std::string RefusingUrl(const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(SharedRefusingPort()) + path;
}

} // namespace qm::test
