#include "CsvCommands.h"

#include <QDir>

namespace Ledgerly::CsvCommands {

Prompter::FileRequest fileRequest(const QString &folder, const QString &fileName, bool save)
{
    Prompter::FileRequest request;
    request.title = save ? QStringLiteral("Export CSV") : QStringLiteral("Import CSV");
    request.initialFolder = folder;
    request.fileName = QDir(folder).filePath(fileName);
    request.filter = QStringLiteral("CSV/TXT - Comma Delimited Files (*.csv *.txt *.CSV *.TXT)");
    request.save = save;
    request.confirmOverwrite = false;
    return request;
}

} // namespace Ledgerly::CsvCommands
