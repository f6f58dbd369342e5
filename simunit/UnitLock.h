#pragma once

// One unit, one connection: a lock file beside the simulated unit's memory
// file, held while a program is connected to the unit (or, in tzr582-unit,
// while the unit serves a line). The lock is an advisory lock on the open
// file (flock), so the system releases it when its holder exits or dies.
//
// Link objects of one process share the one lock; it is released when the
// last of them lets it go.

#include <QString>

class UnitLock {
public:
    UnitLock() = default;
    ~UnitLock();
    UnitLock(const UnitLock&) = delete;
    UnitLock& operator=(const UnitLock&) = delete;

    // The lock file of a memory file.
    static QString PathFor(const QString& memoryFile) { return memoryFile + QStringLiteral(".lock"); }

    // Takes the lock on path (once more when this process holds it already);
    // false when another process holds it.
    bool acquire(const QString& path);
    void release();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    int m_holders = 0;
    QString m_path;
};
