// Cold start to the main window shown: each run starts a new process on the offscreen platform and
// stops the clock when the process reports that its window has painted itself for the first time
// (the process then exits, untimed). Quillmark, a bare Qt program whose main window holds one line of
// text (the peer of the figure: it pays the font system's set-up, as any window with text does) and
// one that shows an empty QMainWindow (for reference) run in turn, so that all see the same load on
// a shared machine; the last lines give each one's median and the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const std::string kQuillmark = QUILLMARK_BINARY_DIR "/bench/coldstart_quillmark";
const std::string kBare = QUILLMARK_BINARY_DIR "/bench/coldstart_bare";
const std::string kBareText = QUILLMARK_BINARY_DIR "/bench/coldstart_bare_text";

std::vector<double> g_quillmark;
std::vector<double> g_bare;
std::vector<double> g_bareText;

// A fresh runtime folder (for the single-instance lock) and config folder (for the position store).
std::string freshFolder()
{
    std::string pattern = "/tmp/quillmark-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    return pattern;
}

// Seconds from spawning the program to its report that the window is shown.
double runOnce(const std::string& program)
{
    const std::string runtime = freshFolder();
    const std::string config = freshFolder();
    std::vector<std::string> env
        = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime, "XDG_CONFIG_HOME=" + config};
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("XDG_RUNTIME_DIR=", 0) != 0
            && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
            env.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};

    int report[2];
    if (::pipe(report) != 0)
        std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, report[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, report[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0)
        std::abort();
    ::close(report[1]);
    char seen[8] = {};
    const ssize_t n = ::read(report[0], seen, sizeof seen); // blocks until the first paint
    const auto end = std::chrono::steady_clock::now();
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (n <= 0) {
        std::fprintf(stderr, "%s never showed its window\n", program.c_str());
        std::abort();
    }
    std::filesystem::remove_all(runtime);
    std::filesystem::remove_all(config);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", program.c_str());
        std::abort();
    }
    return std::chrono::duration<double>(end - start).count();
}

void BM_ColdStartToMainWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        const double bare = runOnce(kBare);
        const double quillmark = runOnce(kQuillmark);
        const double bareText = runOnce(kBareText);
        g_bare.push_back(bare);
        g_quillmark.push_back(quillmark);
        g_bareText.push_back(bareText);
        state.SetIterationTime(quillmark);
        state.counters["bare_ms"] = bare * 1000;
        state.counters["text_ms"] = bareText * 1000;
        state.counters["ratio"] = quillmark / bareText;
    }
}
BENCHMARK(BM_ColdStartToMainWindowShown)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->Unit(benchmark::kMillisecond);

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    runOnce(kBare); // warm the file cache for all, untimed
    runOnce(kQuillmark);
    runOnce(kBareText);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!g_quillmark.empty()) {
        const double q = median(g_quillmark) * 1000;
        const double b = median(g_bare) * 1000;
        const double t = median(g_bareText) * 1000;
        std::printf("cold start to the main window shown, median of %zu runs:\n"
                    "  quillmark %.1f ms, QMainWindow with one line of text %.1f ms: ratio %.2f\n"
                    "  (empty QMainWindow %.1f ms: ratio %.2f)\n",
                    g_quillmark.size(), q, t, q / t, b, q / b);
    }
    return 0;
}
