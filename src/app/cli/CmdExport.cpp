#include "CliCommand.h"
#include "CliSession.h"

#include "app/MainController.h"
#include "catalogue/Catalogue.h"
#include "exchange/CsvExport.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runExport(CliContext &ctx)
{
    if (ctx.arguments.size() != 2)
        throw UsageError{QStringLiteral("export needs a section and an output file")};
    const QString section = ctx.arguments.at(0);
    CliSession session(ctx);
    const int index = session.sectionIndexOrReport(section);
    if (index < 0 || !session.fileExistsOrReport(section))
        return 1;
    // The export reads the stored file, as the window's does; the table the
    // window would show adds nothing to it, so it is not built. A missing
    // file is an error, never a database made for the occasion.
    MainController &controller = session.controller();
    const CsvOutcome outcome = exportStoredCsv(
        session.server(), session.databasePath(controller.catalogue().section(index)),
        controller.catalogue().schemaSection(index), controller.state().AppName,
        QFileInfo(ctx.arguments.at(1)).absoluteFilePath());
    if (!outcome.ok) {
        ctx.err << "ledgerly-cli: " << terminalText(outcome.message) << "\n";
        return 1;
    }
    ctx.out << terminalText(outcome.message) << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("export"),
    QStringLiteral("export SECTION OUT.csv [--user NAME]"),
    QStringLiteral(
        "Writes the records of SECTION's database, as stored, to a CSV file as Export\n"
        "CSV does (\".pdb\" in the path becomes \".csv\"; pictures as bitmaps beside it).\n"
        "A database whose file is missing is an error; only create makes one."),
    {},
    {QStringLiteral("user")},
    runExport});

} // namespace

} // namespace Ledgerly::Cli
