// Downloads over loopback from an in-process server: a body in 4-byte chunks against the same body
// with a Content-Length, at 1 to 8 MiB. The time per MiB must stay flat as the body grows.
#include "bench/netbenchserver.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"

#include <benchmark/benchmark.h>

namespace {

qm::bench::NetBenchServer& Server()
{
    static qm::bench::NetBenchServer server;
    static const bool started = (server.start(), true);
    (void)started;
    return server;
}

void Download(benchmark::State& state, const char* framing)
{
    const std::int64_t size = state.range(0) << 20;
    const std::string url
        = "http://127.0.0.1:" + std::to_string(Server().port()) + "/" + framing + "/" + std::to_string(size);
    // The server builds each answer once; that happens here, outside the timing.
    {
        qm::TIdHTTP http;
        qm::TMemoryStream sink;
        http.GetDocument(url, sink);
    }
    for (auto _ : state) {
        qm::TIdHTTP http;
        qm::TMemoryStream sink;
        http.GetDocument(url, sink);
        if (sink.Size() != size)
            state.SkipWithError("short body");
        benchmark::DoNotOptimize(sink.Bytes().data());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

BENCHMARK_CAPTURE(Download, chunked4, "chunked4")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Download, length, "length")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
