#include "platform/atomicfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {
namespace {

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
    // Closes now and reports the outcome; the destructor then has nothing left to do.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

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

} // namespace

FileError::FileError(const std::filesystem::path& path, int errorNumber)
    : std::runtime_error("'" + path.string() + "': " + std::strerror(errorNumber))
    , m_path(path)
    , m_errorNumber(errorNumber)
{
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    std::string temp = path.string() + ".XXXXXX";
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        throw FileError(path, errno);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.get(), 0666 & ~mask); // mkstemp creates 0600; a saved file gets the usual rights
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close()
        || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw FileError(path, error);
    }
}

std::string readWholeFile(const std::filesystem::path& path, std::size_t maxBytes)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw FileError(path, errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throw FileError(path, errno);
    if (S_ISDIR(info.st_mode))
        throw FileError(path, EISDIR);
    std::string bytes;
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
            throw FileError(path, EFBIG);
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

} // namespace qm
