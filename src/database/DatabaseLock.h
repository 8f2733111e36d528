#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace Ledgerly {

// Keeps a second program from changing a database this one is changing.
// The lock is a hidden QLockFile beside the database, named after it, in the
// folder the database's canonical path names: every program that reaches the
// file, by any name (links, "..") and in any environment (cron, ssh, sudo, a
// service), meets the same lock. A lock left by a process that no longer runs
// is taken over. Reading a database needs no lock.
class DatabaseLock
{
public:
    DatabaseLock();
    ~DatabaseLock();
    DatabaseLock(DatabaseLock &&) noexcept;
    DatabaseLock &operator=(DatabaseLock &&) noexcept;

    // Takes the lock of the database at path (the file need not exist yet).
    // On failure the result holds no lock and error() says why: the program
    // and process that hold it, or the folder where no lock can be made.
    static DatabaseLock acquire(const QString &path);

    bool isLocked() const { return m_lock != nullptr; }
    QString error() const { return m_error; }
    QString lockFilePath() const { return m_lockPath; }
    void release();

    // Where the lock of the database at path lives.
    static QString lockFilePathFor(const QString &path);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockPath;
    QString m_error;
};

} // namespace Ledgerly
