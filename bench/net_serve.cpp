// net_serve [PORT]: the figures' HTTP server as a program of its own, for the fetch comparison
// script. Prints the port it listens on, then serves until killed.
#include "bench/netbenchserver.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    qm::bench::NetBenchServer server(argc > 1 ? std::atoi(argv[1]) : 0);
    std::printf("%d\n", server.port());
    std::fflush(stdout);
    server.run();
}
