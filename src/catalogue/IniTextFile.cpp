#include "IniTextFile.h"

#include "IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly::IniTextFile {

ReadResult read(const QString &path, IniText *text, QString *problem)
{
    const QFileInfo info(path);
    // A link to nothing is no missing file: saving would write its target.
    if (!info.exists() && !info.isSymLink()) {
        *text = IniText();
        return ReadResult::Missing;
    }
    QByteArray bytes;
    if (!SafeFile::read(path, IniMaxFileSize, &bytes, problem))
        return ReadResult::Refused;
    QString why;
    if (!IniText::fromBytes(bytes, text, &why)) {
        *problem =
            QStringLiteral("\"%1\" cannot be edited: %2").arg(QDir::toNativeSeparators(path), why);
        return ReadResult::Refused;
    }
    return ReadResult::Read;
}

SafeFile::Result write(const QString &path, const IniText &text)
{
    QByteArray bytes;
    QString why;
    if (!text.toBytes(&bytes, &why))
        return {SafeFile::DeviceIo,
                QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), why)};
    return SafeFile::write(path, bytes);
}

} // namespace Ledgerly::IniTextFile
