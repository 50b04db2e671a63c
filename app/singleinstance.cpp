#include "app/singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace qm {

QString SingleInstanceGuard::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("quillmark.lock"));
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // A live holder is detected by its process id; the lock of a crashed instance is stale at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return;
    m_otherRuns = m_lock->error() == QLockFile::LockFailedError;
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

} // namespace qm
