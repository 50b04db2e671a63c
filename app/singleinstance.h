#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace qm {

// Makes sure only one Quillmark runs per user session: the first instance holds a lock file in the
// user's runtime folder for as long as it runs. A lock left behind by an instance that crashed is
// taken over, so it never blocks a new start.
class SingleInstanceGuard final {
public:
    explicit SingleInstanceGuard(const QString& lockPath = defaultLockPath());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when another running instance holds the lock. A failing probe (no runtime folder, say)
    // reports no other instance: it never stops the start.
    bool otherInstanceRuns() const { return m_otherRuns; }

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_otherRuns = false;
};

} // namespace qm
