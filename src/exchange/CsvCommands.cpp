#include "CsvCommands.h"

#include "CsvExport.h"
#include "CsvImport.h"
#include "app/MainController.h"
#include "app/Prompter.h"

#include <QDir>

namespace Ledgerly {

namespace {

// The CSV file dialog: the same filter and starting place for both commands,
// starting in the program folder. No overwrite question, as the export has
// always replaced the chosen file.
Prompter::FileRequest csvFileRequest(const MainController &controller, bool save)
{
    Prompter::FileRequest request;
    request.title = save ? QStringLiteral("Export CSV") : QStringLiteral("Import CSV");
    request.initialFolder = controller.state().ProgramFolder;
    request.fileName = QDir(controller.state().ProgramFolder).filePath(QStringLiteral("*.CSV"));
    request.filter = QStringLiteral("CSV/TXT - Comma Delimited Files (*.csv *.txt *.CSV *.TXT)");
    request.save = save;
    request.confirmOverwrite = false;
    return request;
}

} // namespace

void ExportCSV_Click(MainController &controller)
{
    const QString path = controller.prompter().fileName(csvFileRequest(controller, true));
    if (path.isEmpty())
        return;
    ExportCsv(controller, path);
}

void ImportCSV_Click(MainController &controller)
{
    const QString path = controller.prompter().fileName(csvFileRequest(controller, false));
    if (path.isEmpty())
        return;
    ImportCsv(controller, path);
}

} // namespace Ledgerly
