#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

QString SingleInstanceGuard::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("quillmark.lock"));
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath)
{
    // The lock is the kernel's advisory lock on the open file, not a process id written into it: the
    // kernel drops it when its holder ends in any way, crash and kill included, so nothing a dead
    // instance left behind (a stale file, a process id since reused by another program, garbage) can
    // keep a start out; only a live holder can. The file's content is for people only. Close-on-exec
    // keeps programs started from here (a browser) from inheriting the lock and holding it on.
    // A symbolic link is not followed, and anything in the lock's place that is not a regular file
    // the user may open (a folder, say) means running without the guard rather than not at all.
    m_fd
        = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_otherRuns = errno == EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    const std::string holder = std::to_string(::getpid()) + "\n";
    // Only people read the content: the lock holds whether or not it is written.
    const bool written = ::ftruncate(m_fd, 0) == 0 && ::pwrite(m_fd, holder.data(), holder.size(), 0) >= 0;
    static_cast<void>(written);
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    // The file stays: removing it would let a start that has just opened it lock a file no longer
    // in the lock's place, beside a second instance that locks a new one.
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace qm
