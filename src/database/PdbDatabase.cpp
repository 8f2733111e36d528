#include "PdbDatabase.h"

#include "PdbError.h"
#include "PdbReader.h"
#include "PdbWriter.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly {

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
    PdbWriter writer(*this);
    writer.prepare(target.completeBaseName());

    const QString native = QDir::toNativeSeparators(target.absoluteFilePath());
    if (!target.absoluteDir().exists())
        throw PdbError(ErrPathNotFound,
                       QStringLiteral("Cannot write \"%1\": the folder \"%2\" does "
                                      "not exist")
                           .arg(native, QDir::toNativeSeparators(target.absolutePath())));
    if (target.isDir())
        throw PdbError(ErrPathAccess,
                       QStringLiteral("Cannot write \"%1\": it is a folder").arg(native));

    // The records stream to the file from where they are held: the file's
    // bytes are never put together in memory.
    SafeFile::Writer out(target.absoluteFilePath());
    if (out.open())
        writer.writeTo([&out](const char *data, qsizetype size) { out.append(data, size); });
    if (out.failed() || !out.commit())
        throw PdbError(out.result().number, out.result().message);

    m_header = writer.header();
    for (int i = 0; i < m_table.RecordCount(); ++i)
        m_table.Record(i).setUniqueId(writer.recordIds().at(i));
}

} // namespace Ledgerly
