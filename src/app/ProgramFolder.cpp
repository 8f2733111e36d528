#include "ProgramFolder.h"

#include "ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly {

QString resolveProgramFolder(const QString &option, const QString &executableFolder)
{
    QString folder;
    if (!option.isEmpty())
        folder = option;
    else if (QFileInfo::exists(QDir(executableFolder).filePath(ProgramFiles::schemaFileName())))
        folder = executableFolder;
    else
        folder = QStringLiteral(LEDGERLY_INSTALLED_DATA_DIR);
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace Ledgerly
