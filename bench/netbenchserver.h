#pragma once

// A small HTTP server on 127.0.0.1 for the network figures. Each connection gets one answer and is
// then closed. The request path chooses it:
//   /length/N     200 with Content-Length and N body bytes
//   /close/N      200 without framing, N body bytes, then the close
//   /chunked4/N   200 chunked, N body bytes in chunks of 4 bytes
// Answers are built once per path and kept, and the bodies of the first two are sent from one block
// of 1 MiB, so serving costs only the sends and a body of any size no memory.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace qm::bench {

class NetBenchServer final {
public:
    // Listens on the given port (0: any free one).
    explicit NetBenchServer(int port = 0);
    ~NetBenchServer();
    NetBenchServer(const NetBenchServer&) = delete;
    NetBenchServer& operator=(const NetBenchServer&) = delete;

    int port() const { return m_port; }
    // Serves on a thread of its own until destruction.
    void start();
    // Serves on the calling thread, for ever.
    void run();

    struct Answer {
        std::string head;
        std::size_t streamed = 0; // body bytes sent after the head, from one block again and again
    };

private:
    void serve(int connection);
    const Answer& answer(const std::string& path);

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::map<std::string, Answer> m_answers;
};

} // namespace qm::bench
