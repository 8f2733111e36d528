#include "CsvCommands.h"

#include <QDir>

namespace Ledgerly::CsvCommands {

Prompter::FileRequest fileRequest(const QString &programFolder, bool save)
{
    Prompter::FileRequest request;
    request.title = save ? QStringLiteral("Export CSV") : QStringLiteral("Import CSV");
    request.initialFolder = programFolder;
    request.fileName = QDir(programFolder).filePath(QStringLiteral("*.CSV"));
    request.filter = QStringLiteral("CSV/TXT - Comma Delimited Files (*.csv *.txt *.CSV *.TXT)");
    request.save = save;
    request.confirmOverwrite = false;
    return request;
}

} // namespace Ledgerly::CsvCommands
