// The single-instance guard, over whatever lies in the lock's place and with real quillmark
// processes, each test with its own runtime and config folders, so that its lock and its position
// store never meet another test's.
#include "app/singleinstance.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qm::test {
namespace {

using namespace std::chrono_literals;

// Long enough for a loaded machine; the tests poll and go on as soon as the condition holds.
constexpr auto kPatience = 20s;
constexpr auto kPollInterval = 10ms;

class Session final {
public:
    Session() = default;
    ~Session()
    {
        for (const pid_t pid : m_running) { // only children not yet reaped: their ids are still ours
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the real program on the offscreen platform with this session's folders.
    pid_t start()
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_RUNTIME_DIR", m_runtime.path().c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", m_config.path().c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const int devNull = ::open("/dev/null", O_RDWR);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
            ::execl(QUILLMARK_BINARY_DIR "/quillmark", "quillmark", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        m_running.insert(pid);
        return pid;
    }

    // The exit status once the process has ended of its own accord (or 128 + the signal that ended
    // it); nothing while it runs. With wait, polls until it ends.
    std::optional<int> exitStatus(pid_t pid, bool wait)
    {
        int status = 0;
        const auto ended = [&] { return ::waitpid(pid, &status, WNOHANG) == pid; };
        if (!(wait ? poll(ended) : ended()))
            return std::nullopt;
        m_running.erase(pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    bool isRunning(pid_t pid) { return !exitStatus(pid, false).has_value(); }

    // The process id written into the lock by the instance that holds it.
    std::optional<pid_t> lockHolder() const
    {
        try {
            const std::string text = readFileBytes(m_runtime.file("quillmark.lock"));
            return static_cast<pid_t>(std::stol(text.substr(0, text.find('\n'))));
        } catch (...) {
            return std::nullopt;
        }
    }
    bool waitUntilLockHeldBy(pid_t pid) const
    {
        return poll([&] { return lockHolder() == pid; });
    }
    const TempDir& config() const { return m_config; }
    // Makes the lock file look as if it had been taken long ago.
    void ageLock(std::chrono::seconds age) const
    {
        const auto then = std::chrono::system_clock::now() - age;
        const timespec times[2]
            = {{std::chrono::system_clock::to_time_t(then), 0}, {std::chrono::system_clock::to_time_t(then), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, m_runtime.file("quillmark.lock").c_str(), times, 0), 0);
    }

    template <typename Condition> static bool poll(Condition condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(kPollInterval);
        }
        return true;
    }

private:
    TempDir m_runtime;
    TempDir m_config;
    std::set<pid_t> m_running;
};

TEST(SingleInstance, ASecondStartEndsAtOnceWithStatusZeroAndLeavesTheFirstAlone)
{
    Session session;
    const pid_t first = session.start();
    ASSERT_TRUE(session.waitUntilLockHeldBy(first));

    const pid_t second = session.start();
    EXPECT_EQ(session.exitStatus(second, true), 0);
    EXPECT_TRUE(session.isRunning(first));
    EXPECT_EQ(session.lockHolder(), first);
    // The second touched nothing: no position store was written by anyone yet.
    EXPECT_TRUE(std::filesystem::is_empty(session.config().path()));
}

TEST(SingleInstance, TheLockOfAKilledInstanceDoesNotBlockANewStart)
{
    Session session;
    const pid_t crashed = session.start();
    ASSERT_TRUE(session.waitUntilLockHeldBy(crashed));
    ::kill(crashed, SIGKILL);
    EXPECT_EQ(session.exitStatus(crashed, true), 128 + SIGKILL);
    ASSERT_EQ(session.lockHolder(), crashed); // the lock file is left behind

    const pid_t next = session.start();
    EXPECT_TRUE(session.waitUntilLockHeldBy(next));
    EXPECT_TRUE(session.isRunning(next));
}

TEST(SingleInstance, AnInstanceThatHasRunForHoursStillKeepsOthersOut)
{
    Session session;
    const pid_t first = session.start();
    ASSERT_TRUE(session.waitUntilLockHeldBy(first));
    session.ageLock(std::chrono::hours(5));

    const pid_t second = session.start();
    EXPECT_EQ(session.exitStatus(second, true), 0);
    EXPECT_TRUE(session.isRunning(first));
    EXPECT_EQ(session.lockHolder(), first);
}

// Only a live holder of the lock keeps a start out. Whatever else lies in the lock's place is taken
// over (a crash's leftovers, empty or foreign content, a process id that is -1 or another program's),
// or, for a folder, run without.
TEST(SingleInstance, OnlyALiveHolderOfTheLockKeepsAStartOut)
{
    const auto content
        = [](std::string bytes) { return [bytes](const std::filesystem::path& lock) { writeFileBytes(lock, bytes); }; };
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> places[] = {
        {"nothing", [](const std::filesystem::path&) {}},
        {"an empty file", content("")},
        {"garbage", content(std::string("\x7f\0\xff\n\n", 5))},
        {"another host's lock", content("4242\nquillmark\nelsewhere.example\n")},
        {"process id -1", content("-1\n")},
        {"a live process that is not ours", content("1\n")},
        {"a folder", [](const std::filesystem::path& lock) { std::filesystem::create_directory(lock); }},
    };
    for (const auto& [name, prepare] : places) {
        const TempDir runtime;
        const std::filesystem::path lock = runtime.file("quillmark.lock");
        prepare(lock);
        const QString lockPath = QString::fromStdString(lock.string());
        {
            const SingleInstanceGuard first(lockPath);
            EXPECT_FALSE(first.otherInstanceRuns()) << name;
            // A folder in the lock's place: every start runs, without the guard.
            EXPECT_EQ(SingleInstanceGuard(lockPath).otherInstanceRuns(), !std::filesystem::is_directory(lock)) << name;
        }
        EXPECT_FALSE(SingleInstanceGuard(lockPath).otherInstanceRuns()) << name << ", once the holder has ended";
    }
}

} // namespace
} // namespace qm::test
