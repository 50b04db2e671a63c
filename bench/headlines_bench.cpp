// Saving and opening headline files of 2,000 and 100,000 items. bench/headlines_vs_configparser.py
// runs this beside Python's configparser on the same files and prints the ratios.
#include "headlines/headlinefile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A folder for the files of one run, removed at the end; QUILLMARK_BENCH_DIR keeps them elsewhere.
const std::filesystem::path& benchDir()
{
    static const std::filesystem::path dir = [] {
        if (const char* chosen = std::getenv("QUILLMARK_BENCH_DIR"))
            return std::filesystem::path(chosen);
        std::string pattern = (std::filesystem::temp_directory_path() / "quillmark-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return dir;
}

// The items both sides write: headlines of some 50 bytes, every third one ticked.
qm::VectorSuggestions makeItems(std::size_t n)
{
    qm::VectorSuggestions items;
    for (std::size_t i = 0; i < n; ++i)
        items.append("Seven Ways to Write a Better Opening Line, part " + std::to_string(i), i % 3 == 0);
    return items;
}

std::filesystem::path fileFor(std::size_t n) { return benchDir() / ("items" + std::to_string(n) + ".qmk"); }

void BM_SaveHeadlineFile(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const qm::VectorSuggestions items = makeItems(n);
    for (auto _ : state)
        qm::saveHeadlineFile(items, fileFor(n));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

void BM_OpenHeadlineFile(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    qm::saveHeadlineFile(makeItems(n), fileFor(n));
    for (auto _ : state) {
        qm::VectorSuggestions items;
        qm::openHeadlineFile(fileFor(n), items);
        if (items.count() != n)
            state.SkipWithError("the file did not open whole");
        benchmark::DoNotOptimize(items);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

BENCHMARK(BM_SaveHeadlineFile)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHeadlineFile)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (std::getenv("QUILLMARK_BENCH_DIR") == nullptr)
        std::filesystem::remove_all(benchDir());
    return 0;
}
