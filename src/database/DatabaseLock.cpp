#include "DatabaseLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

QString lockFolder()
{
    QString folder;
#ifdef Q_OS_UNIX
    // Without a session's runtime folder Qt would pick one itself and warn on
    // every call; a per-user folder under the temporary one does as well.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QDir::tempPath() + QStringLiteral("/ledgerly-locks-") + QString::number(::getuid());
#endif
    folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/ledgerly-locks");
}

} // namespace

DatabaseLock::DatabaseLock() = default;
DatabaseLock::~DatabaseLock() = default;
DatabaseLock::DatabaseLock(DatabaseLock &&) noexcept = default;
DatabaseLock &DatabaseLock::operator=(DatabaseLock &&) noexcept = default;

QString DatabaseLock::lockFilePathFor(const QString &path)
{
    const QString canonical = canonicalPath(path);
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return lockFolder() + QLatin1Char('/') + QFileInfo(canonical).fileName() + QLatin1Char('-') +
           QString::fromLatin1(hash) + QStringLiteral(".lock");
}

DatabaseLock DatabaseLock::acquire(const QString &path)
{
    DatabaseLock result;
    result.m_lockPath = lockFilePathFor(path);
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!QDir().mkpath(lockFolder())) {
        result.m_error = QStringLiteral("The database \"%1\" cannot be locked: the folder \"%2\" "
                                        "cannot be created")
                             .arg(native, QDir::toNativeSeparators(lockFolder()));
        return result;
    }
    auto lock = std::make_unique<QLockFile>(result.m_lockPath);
    // A lock is held for as long as a database is open; it never goes stale
    // by age, only when its process has gone (which QLockFile detects).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
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
        result.m_error = QStringLiteral("The database \"%1\" cannot be locked (\"%2\" cannot "
                                        "be written); it was not changed.")
                             .arg(native, QDir::toNativeSeparators(result.m_lockPath));
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
