#include "PdbDatabase.h"

#include "PdbError.h"
#include "PdbReader.h"
#include "PdbWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace Ledgerly {

namespace {

PdbError fileError(const QString &path, const QFileDevice &file, const QString &doing)
{
    const QString text = QStringLiteral("Cannot %1 \"%2\": %3")
                             .arg(doing, QDir::toNativeSeparators(path), file.errorString());
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return PdbError(ErrPermissionDenied, text);
    case QFileDevice::OpenError:
        return PdbError(ErrPathAccess, text);
    default:
        return PdbError(ErrDeviceIo, text);
    }
}

} // namespace

QByteArray PdbDatabase::toBytes(const QString &stem) const
{
    return PdbWriter(*this).write(stem).bytes;
}

std::unique_ptr<PdbDatabase> PdbDatabase::fromBytes(const QByteArray &bytes)
{
    return PdbReader(bytes).read();
}

void PdbDatabase::SaveAs(const QString &path)
{
    const QFileInfo target(path);
    // Everything is encoded first: a refused value must leave no trace on disk.
    PdbWriteResult result = PdbWriter(*this).write(target.completeBaseName());

    const QString native = QDir::toNativeSeparators(target.absoluteFilePath());
    if (!target.absoluteDir().exists())
        throw PdbError(ErrPathNotFound,
                       QStringLiteral("Cannot write \"%1\": the folder \"%2\" does "
                                      "not exist")
                           .arg(native, QDir::toNativeSeparators(target.absolutePath())));
    if (target.isDir())
        throw PdbError(ErrPathAccess,
                       QStringLiteral("Cannot write \"%1\": it is a folder").arg(native));

    // The bytes go to a temporary file beside the target, which replaces the
    // target only once it is complete and flushed.
    QSaveFile file(target.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(path, file, QStringLiteral("write"));
    if (file.write(result.bytes) != result.bytes.size()) {
        const PdbError error = fileError(path, file, QStringLiteral("write"));
        file.cancelWriting();
        throw error;
    }
    if (!file.commit())
        throw fileError(path, file, QStringLiteral("finish writing"));

    m_header = result.header;
    for (int i = 0; i < m_table.RecordCount(); ++i)
        m_table.Record(i).setUniqueId(result.recordIds.at(i));
}

} // namespace Ledgerly
