#include "CliCommand.h"
#include "CliSession.h"

#include "app/MainController.h"
#include "grid/GridModel.h"

namespace Ledgerly::Cli {

namespace {

int runSort(CliContext &ctx)
{
    if (ctx.arguments.size() < 2)
        throw UsageError{QStringLiteral("sort needs a section and at least one field")};
    const QString section = ctx.arguments.first();
    CliSession session(ctx);
    if (!session.openForChangeOrReport(section))
        return 1;
    MainController &controller = session.controller();
    SortKeys keys;
    for (const QString &text : ctx.arguments.mid(1)) {
        SortKey key;
        QString error;
        if (!SortKeyList::parse(controller.grid(), text, &key, &error)) {
            ctx.err << "ledgerly-cli: " << error << "\n";
            return 1;
        }
        keys.append(key);
    }
    controller.setSortKeys(keys);
    switch (controller.SortRecords()) {
    case MainController::SortOutcome::InOrderAlready:
        // Nothing moves, so the file is left as it is.
        ctx.out << "The records of " << section << " are in that order already\n";
        return 0;
    case MainController::SortOutcome::Sorted:
        break;
    default:
        ctx.err << "ledgerly-cli: the records of \"" << section << "\" were not sorted\n";
        return 1;
    }
    if (!controller.SaveDatabase()) {
        ctx.err << "ledgerly-cli: " << controller.CurrentPath() << " was not saved\n";
        return 1;
    }
    ctx.out << "Sorted " << controller.grid().rowCount() << " records; saved "
            << controller.CurrentPath() << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("sort"),
    QStringLiteral("sort SECTION FIELD[:desc] [FIELD[:desc]...] [--user NAME]"),
    QStringLiteral("Stores the records of SECTION's database in the order of the fields given,\n"
                   "first field first, as Sort Records does, and saves it (the handheld shows\n"
                   "records in their stored order)."),
    {},
    {QStringLiteral("user")},
    runSort});

} // namespace

} // namespace Ledgerly::Cli
