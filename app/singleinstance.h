#pragma once

#include <QString>

namespace qm {

// Makes sure only one Quillmark runs per user session: the first instance holds an advisory lock on a
// file in the user's runtime folder for as long as it runs.
class SingleInstanceGuard final {
public:
    explicit SingleInstanceGuard(const QString& lockPath = defaultLockPath());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True only when a live instance holds the lock. Whatever else lies in the lock's place (a file
    // left by a crash, empty or foreign content, a folder) and a failing probe report no other
    // instance: they never stop the start.
    bool otherInstanceRuns() const { return m_otherRuns; }

    static QString defaultLockPath();

private:
    int m_fd = -1;
    bool m_otherRuns = false;
};

} // namespace qm
