#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace Ledgerly {

// Keeps a second program from changing a database this one is changing.
// The lock is a QLockFile in the user's runtime folder, named from the
// database's canonical path, so every way of naming the file (links, "..")
// meets the same lock. A lock left by a process that no longer runs is taken
// over. Reading a database needs no lock.
class DatabaseLock
{
public:
    DatabaseLock();
    ~DatabaseLock();
    DatabaseLock(DatabaseLock &&) noexcept;
    DatabaseLock &operator=(DatabaseLock &&) noexcept;

    // Takes the lock of the database at path (the file need not exist yet).
    // On failure the result holds no lock and error() names the program and
    // process that hold it.
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
