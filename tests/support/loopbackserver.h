#pragma once

// A scripted HTTP peer on 127.0.0.1 for network tests. It listens on a free port (port 0), runs one
// script per accepted connection (in the order the connections arrive, each on its own thread), and
// records every byte each connection receives. A script is a list of steps: read one request, send
// bytes (whole, split with pauses, or one byte at a time), pause, half-close, close, reset, or stay
// silent until the client goes. After its last step a connection is closed. Connections beyond the
// scripts are closed at once.
//
// ServingPage() makes a server that answers every request of every connection with one fixed page
// (200, Content-Length), for tests that only need a source page to be there.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qm::test {

using namespace std::chrono_literals;

struct ServerStep {
    enum class Kind { ReadRequest, Send, Pause, HalfClose, Close, Reset, Silence };
    Kind kind = Kind::Pause;
    std::string bytes;
    std::chrono::milliseconds delay{0};
};

// Reads one request: through its empty line, plus a body of its Content-Length.
ServerStep ReadRequest();
ServerStep Send(std::string bytes);
ServerStep Pause(std::chrono::milliseconds delay);
// No more sends (the client sees the close); reading goes on.
ServerStep HalfClose();
// Ends the connection with a normal close, after taking in what the client has sent.
ServerStep Close();
// Ends the connection with a reset.
ServerStep Reset();
// Sends nothing and keeps the connection until the client closes it or the server stops.
ServerStep Silence();

using Script = std::vector<ServerStep>;

// Appends steps that send bytes in pieces cut at the given offsets, pausing between pieces.
void AddSplitSend(Script& script, std::string_view bytes, const std::vector<std::size_t>& cuts,
                  std::chrono::milliseconds pause = 20ms);
// Appends steps that send bytes one at a time with a pause before each.
void AddDrip(Script& script, std::string_view bytes, std::chrono::milliseconds interval);

// Binds the socket fd to a free port on 127.0.0.1 and returns that port; 0 when it cannot.
int BindLoopback(int fd);

// A port on 127.0.0.1 that is taken but not listened on while the object lives: connecting to it
// is refused, and no other socket (a test server's listener, a client's own end) can get it meanwhile.
class RefusingPort final {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

// A refusing port that stays taken until the test process ends, for tests that only need an address
// nobody answers on.
int SharedRefusingPort();
// An http URL of the given path on that port.
std::string RefusingUrl(const std::string& path = "/");

class LoopbackServer final {
public:
    explicit LoopbackServer(std::vector<Script> scripts);
    static std::unique_ptr<LoopbackServer> ServingPage(std::string page);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return m_port; }
    // The page a ServingPage() server answers with from the next request on.
    void setPage(std::string page);
    // "http://127.0.0.1:<port>" followed by path.
    std::string url(std::string_view path = "/page.html") const;
    // The bytes connection i has received so far.
    std::string received(std::size_t connection = 0) const;
    std::size_t connectionCount() const;
    // Waits until connection i's script has run to its end; false when timeout passed first.
    bool waitUntilDone(std::size_t connection = 0, std::chrono::milliseconds timeout = 5s) const;

private:
    struct Connection;
    LoopbackServer(std::vector<Script> scripts, std::string page, bool servingPage);
    void acceptLoop();
    void serve(Connection& connection, const Script* script);
    void servePage(Connection& connection);
    bool runStep(Connection& connection, const ServerStep& step);
    bool readRequest(Connection& connection);
    bool receiveSome(Connection& connection, std::chrono::milliseconds timeout);
    bool sendAll(Connection& connection, std::string_view bytes);
    // Waits for the descriptor or the stop signal; true when the descriptor is ready.
    bool waitFor(int fd, short events, std::chrono::milliseconds timeout) const;
    void drain(Connection& connection);

    std::vector<Script> m_scripts;
    std::string m_page;
    bool m_servingPage = false;
    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    int m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::unique_ptr<Connection>> m_connections;
    std::vector<std::thread> m_workers;
    std::thread m_acceptor;
};

} // namespace qm::test
