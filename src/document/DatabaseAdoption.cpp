#include "DatabaseAdoption.h"

#include "catalogue/IniText.h"
#include "common/Windows1252.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly {

namespace {

// The largest file the record component opens.
constexpr qint64 maxCopySize = qint64(512) * 1024 * 1024;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

DatabaseAdoption DatabaseAdoption::read(RecordServer &server, const QString &file)
{
    const std::unique_ptr<PdbDatabase> db = server.OpenDatabase(file);
    DatabaseAdoption adoption;
    adoption.file = QFileInfo(file).absoluteFilePath();
    // "Notes.pdb" becomes section "Notes": the stem the window opens it by.
    adoption.section = QFileInfo(file).completeBaseName();
    adoption.displayName = Windows1252::decode(db->header().name);
    if (adoption.displayName.trimmed().isEmpty())
        adoption.displayName = adoption.section;
    const PdbFieldList &fields = db->Fields();
    for (int i = 0; i < fields.Count(); ++i)
        adoption.fields.append({fields.Item(i).Name, fields.Item(i).Name, FieldRole::Shown});
    return adoption;
}

QString DatabaseAdoption::setCaption(const QString &field, const QString &caption)
{
    for (SchemaEdit::NewField &f : fields) {
        if (f.name.compare(field, Qt::CaseInsensitive) == 0) {
            f.caption = caption;
            return {};
        }
    }
    return QStringLiteral("The database has no field \"%1\"").arg(field);
}

QString DatabaseAdoption::addTo(IniText &schema, int *added) const
{
    return SchemaEdit::addDatabase(schema, section, displayName, fields, added);
}

QString DatabaseAdoption::pathIn(const QString &folder) const
{
    return QDir(folder).filePath(section + QStringLiteral(".pdb"));
}

bool DatabaseAdoption::isIn(const QString &folder) const
{
    const QFileInfo here(file);
    const QFileInfo there(pathIn(folder));
    return there.exists() && here.canonicalFilePath() == there.canonicalFilePath();
}

SafeFile::Result DatabaseAdoption::copyTo(const QString &folder) const
{
    const QString target = pathIn(folder);
    if (QFileInfo(target).exists() || QFileInfo(target).isSymLink())
        return {SafeFile::DeviceIo,
                QStringLiteral("Cannot copy \"%1\": \"%2\" is already there and is not replaced")
                    .arg(native(file), native(target))};
    QByteArray bytes;
    QString why;
    if (!SafeFile::read(file, maxCopySize, &bytes, &why))
        return {SafeFile::DeviceIo, why};
    return SafeFile::write(target, bytes);
}

} // namespace Ledgerly
