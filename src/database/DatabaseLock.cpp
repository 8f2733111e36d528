#include "DatabaseLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace Ledgerly {

namespace {

// A file that does not exist yet has no canonical path; its folder has.
QString canonicalPath(const QString &path)
{
    const QFileInfo info(path);
    const QString existing = info.canonicalFilePath();
    if (!existing.isEmpty())
        return existing;
    const QString folder = info.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

// The lock's name: the database's own name, hidden. Taking over a stale lock
// briefly makes a file of this name plus ".rmlock", which must fit in a file
// name too; a name too long for that keeps a readable start and a hash of
// the whole.
QString lockFileName(const QString &databaseName)
{
    constexpr int maxBytes = 255 - 7; // ".rmlock"
    const QString plain = QLatin1Char('.') + databaseName + QStringLiteral(".lock");
    if (QFile::encodeName(plain).size() <= maxBytes)
        return plain;
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(databaseName.toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16));
    QString start = databaseName;
    const auto shortened = [&] {
        return QLatin1Char('.') + start + QLatin1Char('-') + hash + QStringLiteral(".lock");
    };
    while (!start.isEmpty() && QFile::encodeName(shortened()).size() > maxBytes)
        start.chop(start.size() > 1 && start.back().isLowSurrogate() ? 2 : 1);
    return shortened();
}

// A program killed after making its lock file and before writing its process
// into it leaves a lock that names nobody, which QLockFile never takes over
// while locks do not go stale by age. Such a lock is taken over when it
// still names nobody a moment later (a live program writes its process at
// once); the removal itself refuses a lock file a live program holds open.
bool takeOverUnreadableLock(QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString program;
    if (lock.error() != QLockFile::LockFailedError || lock.getLockInfo(&pid, &host, &program))
        return false;
    QThread::msleep(50);
    if (lock.getLockInfo(&pid, &host, &program) || !lock.removeStaleLockFile())
        return false;
    return lock.tryLock(0);
}

} // namespace

DatabaseLock::DatabaseLock() = default;
DatabaseLock::~DatabaseLock() = default;
DatabaseLock::DatabaseLock(DatabaseLock &&) noexcept = default;
DatabaseLock &DatabaseLock::operator=(DatabaseLock &&) noexcept = default;

QString DatabaseLock::lockFilePathFor(const QString &path)
{
    const QFileInfo canonical(canonicalPath(path));
    return canonical.absolutePath() + QLatin1Char('/') + lockFileName(canonical.fileName());
}

DatabaseLock DatabaseLock::acquire(const QString &path)
{
    DatabaseLock result;
    result.m_lockPath = lockFilePathFor(path);
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const QString folder = QDir::toNativeSeparators(QFileInfo(result.m_lockPath).absolutePath());
    if (!QFileInfo(QFileInfo(result.m_lockPath).absolutePath()).isDir()) {
        result.m_error = QStringLiteral("The database \"%1\" cannot be locked: the folder \"%2\" "
                                        "does not exist; it was not changed.")
                             .arg(native, folder);
        return result;
    }
    auto lock = std::make_unique<QLockFile>(result.m_lockPath);
    // A lock is held for as long as a database is open; it never goes stale
    // by age, only when its process has gone (which QLockFile detects).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0) || takeOverUnreadableLock(*lock)) {
        result.m_lock = std::move(lock);
        return result;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString program;
        if (lock->getLockInfo(&pid, &host, &program))
            result.m_error =
                QStringLiteral("The database \"%1\" is in use by %2 (process %3); it was not "
                               "changed. Close it there and try again.")
                    .arg(native, program.isEmpty() ? QStringLiteral("another program") : program)
                    .arg(pid);
        else
            result.m_error = QStringLiteral("The database \"%1\" is in use by another program; "
                                            "it was not changed.")
                                 .arg(native);
    } else {
        // A read-only folder, a full disk, a name taken by a folder.
        result.m_error = QStringLiteral("The database \"%1\" cannot be locked: no lock file can "
                                        "be made in the folder \"%2\" (\"%3\" cannot be "
                                        "written); it was not changed.")
                             .arg(native, folder, QFileInfo(result.m_lockPath).fileName());
    }
    return result;
}

void DatabaseLock::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

} // namespace Ledgerly
