#include "platform/atomicfile.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

std::set<std::string> Entries(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct stat Stat(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

class AtomicWrite : public testing::TestWithParam<TemporaryFile> {
protected:
    void write(const fs::path& path, std::string_view bytes) { writeFileAtomically(path, bytes, GetParam()); }
    TempDir dir;
};

TEST_P(AtomicWrite, NewFileGetsTheBytesAndTheUsualRights)
{
    const mode_t mask = ::umask(022);
    write(dir.file("new.txt"), std::string("a\0b\r\n", 5));
    ::umask(mask);
    EXPECT_EQ(readFileBytes(dir.file("new.txt")), std::string("a\0b\r\n", 5));
    EXPECT_EQ(Stat(dir.file("new.txt")).st_mode & 07777, 0644u);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"new.txt"});
}

// A save keeps what the user set on the file; CI runs as root, which may give any group.
TEST_P(AtomicWrite, ExistingFileKeepsItsRightsAndGroup)
{
    const fs::path file = dir.file("kept.txt");
    writeFileBytes(file, "old content, longer than the new");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    const gid_t group = ::geteuid() == 0 ? 4242 : ::getegid();
    ASSERT_EQ(::chown(file.c_str(), static_cast<uid_t>(-1), group), 0);
    write(file, "new");
    EXPECT_EQ(readFileBytes(file), "new");
    EXPECT_EQ(Stat(file).st_mode & 07777, 0640u);
    EXPECT_EQ(Stat(file).st_gid, group);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"kept.txt"});
}

TEST_P(AtomicWrite, SymbolicLinksAreWrittenThroughAndStayLinks)
{
    fs::create_directory(dir.file("real"));
    writeFileBytes(dir.file("real/file"), "old");
    fs::create_symlink("real/file", dir.file("inner"));
    fs::create_symlink(dir.file("inner"), dir.file("outer")); // absolute, to a relative one
    fs::create_symlink("real/missing", dir.file("dangling"));
    write(dir.file("outer"), "through two links");
    write(dir.file("dangling"), "made where the link leads");
    EXPECT_EQ(readFileBytes(dir.file("real/file")), "through two links");
    EXPECT_EQ(readFileBytes(dir.file("real/missing")), "made where the link leads");
    for (const char* link : {"inner", "outer", "dangling"})
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
    EXPECT_EQ(Entries(dir.file("real")), (std::set<std::string>{"file", "missing"}));
}

// A failed write leaves the target as it was and no temporary file beside it.
TEST_P(AtomicWrite, FailuresLeaveNothingBehind)
{
    writeFileBytes(dir.file("plain"), "a regular file");
    fs::create_directory(dir.file("folder"));
    fs::create_symlink("loop2", dir.file("loop1"));
    fs::create_symlink("loop1", dir.file("loop2"));
    const struct {
        const char* name;
        fs::path path;
        int error;
    } cases[] = {
        {"a folder in the way", dir.file("folder"), EISDIR},
        {"a path under a regular file", dir.file("plain/child"), ENOTDIR},
        {"a missing folder", dir.file("missing/child"), ENOENT},
        {"a loop of links", dir.file("loop1"), ELOOP},
        {"a name too long", dir.file(std::string(300, 'n')), ENAMETOOLONG},
    };
    const std::set<std::string> before = Entries(dir.path());
    for (const auto& c : cases) {
        try {
            write(c.path, "bytes");
            ADD_FAILURE() << c.name << ": written";
        } catch (const FileError& e) {
            EXPECT_EQ(e.errorNumber(), c.error) << c.name << ": " << e.what();
        }
        EXPECT_EQ(Entries(dir.path()), before) << c.name;
        EXPECT_TRUE(Entries(dir.file("folder")).empty()) << c.name;
    }
    EXPECT_EQ(readFileBytes(dir.file("plain")), "a regular file");
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicWrite, testing::Values(TemporaryFile::Unnamed, TemporaryFile::Named),
                         [](const auto& info) { return info.param == TemporaryFile::Named ? "Named" : "Unnamed"; });

// Without /proc (a bare chroot) an unnamed file cannot be linked in: the write falls back to a named
// temporary. The child process hides /proc in a mount namespace of its own.
TEST(AtomicWriteWithoutProc, FallsBackToANamedTemporary)
{
    const TempDir dir;
    writeFileBytes(dir.file("existing"), "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0)
            ::_exit(77);
        try {
            writeFileAtomically(dir.file("existing"), "replaced");
            writeFileAtomically(dir.file("new"), "made");
        } catch (const FileError&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace may be made here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFileBytes(dir.file("existing")), "replaced");
    EXPECT_EQ(readFileBytes(dir.file("new")), "made");
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"existing", "new"}));
}

TEST(ReadWholeFile, GivesTheBytesUpToTheLimit)
{
    const TempDir dir;
    writeFileBytes(dir.file("empty"), "");
    writeFileBytes(dir.file("ten"), std::string("0123\0"
                                                "5678\n",
                                                10));
    const struct {
        const char* name;
        std::size_t maxBytes;
        int error; // 0: read
    } cases[] = {
        {"empty", 0, 0},
        {"ten", 10, 0},
        {"ten", 9, EFBIG},
        {"missing", 10, ENOENT},
    };
    for (const auto& c : cases) {
        try {
            const std::string bytes = readWholeFile(dir.file(c.name), c.maxBytes);
            EXPECT_EQ(c.error, 0) << c.name << " read with limit " << c.maxBytes;
            EXPECT_EQ(bytes, readFileBytes(dir.file(c.name))) << c.name;
        } catch (const FileError& e) {
            EXPECT_EQ(e.errorNumber(), c.error) << c.name << ": " << e.what();
        }
    }
}

} // namespace
} // namespace qm
