#include "HotSyncInstall.h"

#include "PdbError.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Ledgerly::HotSyncInstall {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Writes bytes over target through a temporary file, so a reader never
// meets a half-written copy or list.
void replaceFile(const QString &target, const QByteArray &bytes)
{
    const SafeFile::Result written = SafeFile::write(target, bytes);
    if (!written.ok())
        throw PdbError(written.number, written.message);
}

void addToJPilotList(const QString &userFolder, const QString &absolutePath)
{
    const QString listPath = userFolder + QLatin1Char('/') + jpilotListName();
    QByteArray list;
    QFile existing(listPath);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw PdbError(ErrPathAccess, QStringLiteral("Cannot read \"%1\": %2")
                                              .arg(native(listPath), existing.errorString()));
        list = existing.readAll();
        existing.close();
    }
    const QByteArray line = QFile::encodeName(absolutePath);
    for (QByteArray listed : list.split('\n')) {
        if (listed.endsWith('\r'))
            listed.chop(1);
        if (listed == line)
            return;
    }
    if (!list.isEmpty() && !list.endsWith('\n'))
        list.append('\n');
    list.append(line).append('\n');
    replaceFile(listPath, list);
}

} // namespace

QString installFolderName()
{
    return QStringLiteral("Install");
}

QString jpilotListName()
{
    return QStringLiteral("jpilot_to_install");
}

void queue(const QString &userFolder, bool jpilot, const QString &path)
{
    const QFileInfo source(path);
    if (!source.exists())
        throw PdbError(ErrFileNotFound,
                       QStringLiteral("The file \"%1\" does not exist").arg(native(path)));
    if (!source.isFile())
        throw PdbError(ErrPathAccess, QStringLiteral("\"%1\" is not a file").arg(native(path)));
    const QString absolutePath = source.absoluteFilePath();

    const QString installFolder = userFolder + QLatin1Char('/') + installFolderName();
    if (!QDir().mkpath(installFolder))
        throw PdbError(
            ErrPathAccess,
            QStringLiteral("Cannot create the install folder \"%1\"").arg(native(installFolder)));
    const QString copy = installFolder + QLatin1Char('/') + source.fileName();
    if (QFileInfo(copy).absoluteFilePath() != absolutePath) {
        QFile in(absolutePath);
        if (!in.open(QIODevice::ReadOnly))
            throw PdbError(ErrPathAccess, QStringLiteral("Cannot read \"%1\": %2")
                                              .arg(native(absolutePath), in.errorString()));
        const QByteArray bytes = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw PdbError(ErrPathAccess, QStringLiteral("Cannot read \"%1\": %2")
                                              .arg(native(absolutePath), in.errorString()));
        replaceFile(copy, bytes);
    }
    if (jpilot)
        addToJPilotList(userFolder, absolutePath);
}

} // namespace Ledgerly::HotSyncInstall
