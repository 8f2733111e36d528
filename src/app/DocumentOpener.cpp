#include "DocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace Ledgerly {

bool DesktopDocumentOpener::openDocument(const QString &path, bool print)
{
    Q_UNUSED(print)
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace Ledgerly
