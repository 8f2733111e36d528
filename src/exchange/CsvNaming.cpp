#include "CsvNaming.h"

namespace Ledgerly::CsvNaming {

QString csvPathFor(const QString &chosenPath)
{
    QString path = chosenPath;
    path.replace(QStringLiteral(".pdb"), QStringLiteral(".csv"), Qt::CaseInsensitive);
    return path;
}

static qsizetype nameStart(const QString &path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = qMax(slash, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return slash + 1;
}

QString folderPrefix(const QString &chosenPath)
{
    return chosenPath.left(nameStart(chosenPath));
}

QString fileTitle(const QString &chosenPath)
{
    return chosenPath.mid(nameStart(chosenPath));
}

QString bitmapPath(const QString &prefix, const QString &title, int record, int laterField)
{
    QString name = title + QString::number(record);
    if (laterField > 0)
        name += QLatin1Char('_') + QString::number(laterField);
    return prefix + name + QStringLiteral(".bmp");
}

} // namespace Ledgerly::CsvNaming
