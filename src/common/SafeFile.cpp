#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>

namespace Ledgerly {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

SafeFile::Result failure(const QString &path, const QFileDevice &file, int savedErrno,
                         qint64 needed)
{
    int number = SafeFile::DeviceIo;
    if (file.error() == QFileDevice::PermissionsError || savedErrno == EACCES ||
        savedErrno == EPERM) {
        number = SafeFile::PermissionDenied;
    } else if (savedErrno == ENOSPC
#ifdef EDQUOT
               || savedErrno == EDQUOT
#endif
    ) {
        number = SafeFile::DiskFull;
    } else {
        // errno may have been overwritten by clean-up calls; a volume with
        // less room than the file needs is full whatever errno says.
        const QStorageInfo volume(QFileInfo(path).absolutePath());
        if (volume.isValid() && volume.bytesAvailable() >= 0 && volume.bytesAvailable() < needed)
            number = SafeFile::DiskFull;
    }
    const QString reason =
        number == SafeFile::DiskFull ? QStringLiteral("the disk is full") : file.errorString();
    return {number, QStringLiteral("Cannot write \"%1\": %2").arg(native(path), reason)};
}

} // namespace

bool SafeFile::writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

SafeFile::Result SafeFile::write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return {DeviceIo, QStringLiteral("Cannot write \"%1\": the folder \"%2\" does not exist")
                              .arg(native(path), native(target.absolutePath()))};
    // Unbuffered, every byte meets the disk inside write(), where a failure
    // is seen; a buffered tail would only be written by commit(), after
    // which a short file could already have replaced the old one.
    QSaveFile file(target.absoluteFilePath());
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(path, file, errno, bytes.size());
    errno = 0;
    if (!writeAll(file, bytes) || !file.flush()) {
        const int saved = errno;
        const Result result = failure(path, file, saved, bytes.size());
        file.cancelWriting();
        return result;
    }
    errno = 0;
    if (!file.commit())
        return failure(path, file, errno, bytes.size());
    return {};
}

bool SafeFile::read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *error)
{
    const QFileInfo info(path);
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(native(path), why);
        return false;
    };
    if (!info.exists())
        return fail(QStringLiteral("it does not exist"));
    // isFile() follows links: a link to a device or a FIFO is refused too.
    if (!info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    if (info.size() > maxSize)
        return fail(QStringLiteral("it is larger than %1 bytes").arg(maxSize));
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    // The file may grow between the check and the read; never read past the
    // bound.
    QByteArray data = file.read(qMin(maxSize, info.size()) + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (data.size() > qMin(maxSize, info.size()))
        return fail(QStringLiteral("it grew while it was read"));
    *bytes = std::move(data);
    return true;
}

} // namespace Ledgerly
