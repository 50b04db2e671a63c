#include "platform/atomicfile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

// As the system's own path walk allows.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kMiB = std::size_t{1024} * 1024;

// Closes a descriptor when it goes out of scope.
class Descriptor final {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a chain of symbolic links leads to (it need not exist yet): a save replaces that file, so
// the link itself stays a link.
fs::path linkTarget(const fs::path& path)
{
    fs::path current = path;
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::error_code error;
        const fs::path next = fs::read_symlink(current, error);
        if (error)
            throw FileError(path, error.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    throw FileError(path, ELOOP);
}

// The new file gets the rights of the one it replaces, so a file the user made private stays
// private; a new file gets the usual rights.
void takeOverRights(int fd, const fs::path& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // A group the user is not a member of cannot be given: the file then has the user's own.
        const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        static_cast<void>(groupKept);
        ::fchmod(fd, old.st_mode & 0777);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

// The new content, flushed to disk, in a file that takes over the target's rights.
void writeContent(int fd, const fs::path& target, std::string_view bytes, const fs::path& path)
{
    takeOverRights(fd, target);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        throw FileError(path, errno);
}

// Gives the written, unnamed file a fresh name beside the target, through /proc; empty when the link
// is refused. The system's other way, linkat with AT_EMPTY_PATH on the descriptor itself, is left
// out: it is open to privileged processes only, and every system we run on mounts /proc; where it is
// missing all the same (a bare chroot), the named temporary serves.
std::string linkBeside(int fd, const fs::path& target)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = target.string() + "." + std::to_string(random());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST)
            break;
    }
    return {};
}

} // namespace

FileError::FileError(const std::filesystem::path& path, int errorNumber, std::string reason)
    : std::runtime_error("'" + path.string() + "': " + (reason.empty() ? std::strerror(errorNumber) : reason))
    , m_errorNumber(errorNumber)
    , m_reason(reason.empty() ? std::strerror(errorNumber) : std::move(reason))
{
}

std::string byteSizeText(std::size_t bytes)
{
    return bytes % kMiB == 0 ? std::to_string(bytes / kMiB) + " MiB" : std::to_string(bytes) + " bytes";
}

FileError fileTooLarge(const std::filesystem::path& path, std::size_t maxBytes)
{
    return FileError(path, EFBIG, "it is larger than " + byteSizeText(maxBytes) + ", the most such a file may hold");
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, TemporaryFile first)
{
    const fs::path target = linkTarget(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // The new content gets a name only once it is complete, so that a write killed half-way leaves
    // nothing behind; only a kill between the link and the rename below leaves a file.
    std::string temp;
    if (first == TemporaryFile::Unnamed) {
        const Descriptor fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        // vfat, some network and FUSE file systems cannot make such a file.
        if (fd.get() < 0 && errno != EOPNOTSUPP && errno != EINVAL)
            throw FileError(path, errno);
        if (fd.get() >= 0) {
            writeContent(fd.get(), target, bytes, path);
            temp = linkBeside(fd.get(), target);
        }
    }
    if (temp.empty()) {
        temp = target.string() + ".XXXXXX";
        const Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
        if (fd.get() < 0)
            throw FileError(path, errno);
        try {
            writeContent(fd.get(), target, bytes, path);
        } catch (const FileError&) {
            ::unlink(temp.c_str());
            throw;
        }
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw FileError(path, error);
    }
}

std::string readWholeFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    // Without O_NONBLOCK, opening a named pipe waits for a writer, for ever; the descriptor's own
    // type then decides, as the path may have changed since.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        throw FileError(path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw FileError(path, errno);
    if (S_ISDIR(info.st_mode))
        throw FileError(path, EISDIR, "it is a folder, not a file");
    if (!S_ISREG(info.st_mode)) {
        const char* kind = S_ISFIFO(info.st_mode)                           ? "a named pipe"
                           : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                           : S_ISSOCK(info.st_mode)                         ? "a socket"
                                                                            : "of another kind";
        throw FileError(path, EINVAL, std::string("it is ") + kind + ", not a regular file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
        throw fileTooLarge(path, maxBytes);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, errno);
        }
        if (n == 0)
            return bytes;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes)
            throw fileTooLarge(path, maxBytes);
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

} // namespace qm
