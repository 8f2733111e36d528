#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <limits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

bool SafeFile::openForReading(const QString &path, qint64 maxSize, QFile &file, qint64 *size,
                              QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(native(path), why);
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("it does not exist"));
    // isFile() follows links: a link to a device or a FIFO is refused too.
    if (!info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
#ifdef Q_OS_UNIX
    // Between the look above and the open the name may come to stand for a
    // FIFO, whose plain open would wait for a writer for ever: the open does
    // not wait, and the opened file is what is checked.
    const int fd = ::open(QFile::encodeName(info.absoluteFilePath()).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("it is not a regular file"));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const qint64 length = status.st_size;
    if (length > maxSize) {
        ::close(fd);
        return fail(QStringLiteral("it is larger than %1 bytes").arg(maxSize));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
#else
    const qint64 length = info.size();
    if (length > maxSize)
        return fail(QStringLiteral("it is larger than %1 bytes").arg(maxSize));
    file.setFileName(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
#endif
    if (size)
        *size = length;
    return true;
}

QString SafeFile::readProblem(const QString &path)
{
    QFile file;
    QString why;
    if (openForReading(path, std::numeric_limits<qint64>::max(), file, nullptr, &why))
        return {};
    return why;
}

bool SafeFile::read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *error)
{
    QFile file;
    qint64 size = 0;
    if (!openForReading(path, maxSize, file, &size, error))
        return false;
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(native(path), why);
        return false;
    };
    // The file may grow between the check and the read; never read past the
    // bound. The bytes go into room of the file's size, not into the blocks a
    // read of unknown length would grow through.
    const qsizetype expected = qsizetype(qMin(maxSize, size));
    QByteArray data(expected + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < data.size()) {
        const qint64 n = file.read(data.data() + got, data.size() - got);
        if (n < 0)
            return fail(file.errorString());
        if (n == 0)
            break;
        got += qsizetype(n);
    }
    if (got > expected)
        return fail(QStringLiteral("it grew while it was read"));
    data.truncate(got);
    *bytes = std::move(data);
    return true;
}

SafeFile::Writer::Writer(const QString &path, qsizetype blockSize)
    : m_path(path)
    , m_blockSize(qMax<qsizetype>(blockSize, 1))
{}

SafeFile::Writer::~Writer()
{
    if (m_open)
        cancel();
}

bool SafeFile::Writer::open()
{
    const QFileInfo target(m_path);
    if (!target.absoluteDir().exists()) {
        m_result = {DeviceIo,
                    QStringLiteral("Cannot write \"%1\": the folder \"%2\" does not exist")
                        .arg(native(m_path), native(target.absolutePath()))};
        return false;
    }
    // Unbuffered for the same reason as write(): every block meets the disk
    // where a failure is seen.
    m_file = std::make_unique<QSaveFile>(target.absoluteFilePath());
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_result = failure(m_path, *m_file, errno, m_blockSize);
        return false;
    }
    m_block.resize(m_blockSize);
    m_open = true;
    return true;
}

void SafeFile::Writer::fail()
{
    m_result = failure(m_path, *m_file, errno, size());
    m_file->cancelWriting();
    m_open = false;
}

bool SafeFile::Writer::writeBlock()
{
    if (m_open && m_used > 0) {
        errno = 0;
        qint64 done = 0;
        while (done < m_used) {
            const qint64 n = m_file->write(m_block.constData() + done, m_used - done);
            if (n <= 0) {
                fail();
                break;
            }
            done += n;
        }
        m_written += done;
    }
    // After a failure the bytes still arrive, and go nowhere: the caller
    // learns of it once, from commit().
    m_used = 0;
    return m_open;
}

void SafeFile::Writer::makeRoom(qsizetype n)
{
    writeBlock();
    if (m_block.size() < n)
        m_block.resize(n);
}

void SafeFile::Writer::append(const char *data, qsizetype size)
{
    if (size <= 0)
        return;
    std::memcpy(room(size), data, size_t(size));
    m_used += size;
}

bool SafeFile::Writer::commit()
{
    if (!m_open) {
        if (m_result.ok())
            m_result = {
                DeviceIo,
                QStringLiteral("Cannot write \"%1\": the file was not opened").arg(native(m_path))};
        return false;
    }
    if (!writeBlock())
        return false;
    errno = 0;
    if (!m_file->flush()) {
        fail();
        return false;
    }
    errno = 0;
    m_open = false;
    if (!m_file->commit()) {
        m_result = failure(m_path, *m_file, errno, size());
        return false;
    }
    m_block = QByteArray();
    return true;
}

void SafeFile::Writer::cancel()
{
    if (m_open)
        m_file->cancelWriting();
    m_open = false;
    m_used = 0;
}

} // namespace Ledgerly
