#include "CsvNaming.h"

#include <QFile>

namespace Ledgerly::CsvNaming {

static qsizetype nameStart(const QString &path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = qMax(slash, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return slash + 1;
}

QString csvPathFor(const QString &chosenPath)
{
    // Only the file name: a folder called "a.pdb.d" is where the file goes,
    // not a name to rewrite.
    const qsizetype start = nameStart(chosenPath);
    QString name = chosenPath.mid(start);
    name.replace(QStringLiteral(".pdb"), QStringLiteral(".csv"), Qt::CaseInsensitive);
    return chosenPath.left(start) + name;
}

bool bitmapNamesFit(const QString &title, int records, int pictureFields)
{
    const QString longest =
        bitmapPath(QString(), title, qMax(records, 1), pictureFields > 1 ? pictureFields : 0);
    return QFile::encodeName(longest).size() <= maxFileNameBytes;
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
