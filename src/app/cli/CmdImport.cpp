#include "CliCommand.h"
#include "CliSession.h"

#include "app/MainController.h"
#include "exchange/CsvImport.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runImport(CliContext &ctx)
{
    if (ctx.arguments.size() != 2)
        throw UsageError{QStringLiteral("import needs a section and an input file")};
    const QString section = ctx.arguments.at(0);
    CliSession session(ctx);
    session.prompter().setForce(ctx.flags.contains(QStringLiteral("force")));
    if (!session.lockOrReport(section) || !session.openOrReport(section))
        return 1;
    MainController &controller = session.controller();
    const CsvOutcome outcome =
        controller.importCsv(QFileInfo(ctx.arguments.at(1)).absoluteFilePath());
    if (!outcome.ok) {
        ctx.err << "ledgerly-cli: " << terminalText(outcome.message) << "\n";
        return 1;
    }
    // As a person would: Import CSV, then Save. A failed save keeps the table
    // marked edited and has already printed its reason.
    if (!controller.SaveDatabase()) {
        ctx.err << "ledgerly-cli: the imported records were not saved\n";
        return 1;
    }
    ctx.out << terminalText(outcome.message +
                            emptyDatesAndTimesNote(outcome.emptyDatesAndTimes, true))
            << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("import"),
    QStringLiteral("import SECTION IN.csv [--user NAME] [--force]"),
    QStringLiteral("Replaces the records of SECTION's database with the record lines of a CSV\n"
                   "file in Export CSV's layout, then saves the database. Fields the file\n"
                   "lacks would be emptied: that needs --force."),
    {QStringLiteral("force")},
    {QStringLiteral("user")},
    runImport});

} // namespace

} // namespace Ledgerly::Cli
