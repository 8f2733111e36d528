#include "CreatedFolders.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly {

bool CreatedFolders::make(const QString &path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
         !QFileInfo(folder).exists(); folder = QFileInfo(folder).absolutePath()) {
        missing.prepend(folder);
        if (QFileInfo(folder).isRoot())
            break;
    }
    for (const QString &folder : std::as_const(missing)) {
        if (!QDir().mkdir(folder))
            return false;
        m_made.append(folder);
    }
    return QFileInfo(path).isDir();
}

void CreatedFolders::undo()
{
    while (!m_made.isEmpty())
        QDir().rmdir(m_made.takeLast());
}

} // namespace Ledgerly
