#include "SafeFileDevice.h"

#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace Ledgerly {

SafeFileDevice::SafeFileDevice(const QString &path, QObject *parent)
    : QIODevice(parent)
    , m_path(QFileInfo(path).absoluteFilePath())
{}

SafeFileDevice::~SafeFileDevice()
{
    cancel();
}

void SafeFileDevice::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error =
            QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(m_path), reason);
}

bool SafeFileDevice::openFile()
{
    const QFileInfo target(m_path);
    if (!target.absoluteDir().exists()) {
        fail(QStringLiteral("the folder \"%1\" does not exist")
                 .arg(QDir::toNativeSeparators(target.absolutePath())));
        return false;
    }
    m_file = std::make_unique<QSaveFile>(m_path);
    // Unbuffered: every block meets the disk inside write(), where a failure
    // is seen, never in commit() after the old file may have gone.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(m_file->errorString());
        m_file.reset();
        return false;
    }
    m_block.reserve(blockSize);
    return QIODevice::open(QIODevice::WriteOnly);
}

qint64 SafeFileDevice::writeData(const char *data, qint64 length)
{
    if (failed() || !m_file)
        return -1;
    m_block.append(data, length);
    if (m_block.size() >= blockSize && !writeBlock())
        return -1;
    return length;
}

bool SafeFileDevice::writeBlock()
{
    errno = 0;
    if (!SafeFile::writeAll(*m_file, m_block)) {
        // A full disk says so in its own words; errno is read before any
        // clean-up can overwrite it.
        fail(errno == ENOSPC ? QStringLiteral("the disk is full") : m_file->errorString());
        return false;
    }
    m_block.clear();
    return true;
}

bool SafeFileDevice::commit()
{
    if (failed() || !m_file) {
        fail(QStringLiteral("the file was not opened"));
        cancel();
        return false;
    }
    if (!writeBlock() || !m_file->flush()) {
        fail(m_file->errorString());
        cancel();
        return false;
    }
    QIODevice::close();
    if (!m_file->commit()) {
        fail(m_file->errorString());
        m_file.reset();
        return false;
    }
    m_file.reset();
    return true;
}

void SafeFileDevice::cancel()
{
    if (isOpen())
        QIODevice::close();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    m_block.clear();
}

} // namespace Ledgerly
