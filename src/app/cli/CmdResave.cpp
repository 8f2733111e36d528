#include "CliSession.h"

#include "app/MainController.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runResave(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("resave takes exactly one section name")};
    const QString section = ctx.arguments.first();
    CliSession session(ctx);
    MainController &controller = session.controller();
    const QString path = session.databasePathOrReport(section);
    if (path.isEmpty() || !session.lockOrReport(section))
        return 1;
    // A missing file would be created by the load; resave only rewrites.
    if (!QFileInfo::exists(path)) {
        ctx.err << "ledgerly-cli: " << path << " does not exist\n";
        return 1;
    }
    if (!session.open(section) || controller.isQuitRequested()) {
        ctx.err << "ledgerly-cli: the database of \"" << section << "\" was not loaded\n";
        return 1;
    }
    if (!controller.SaveDatabase()) {
        ctx.err << "ledgerly-cli: " << controller.CurrentPath() << " was not saved\n";
        return 1;
    }
    ctx.out << controller.CurrentPath() << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("resave"),
    QStringLiteral("resave SECTION [--user NAME]"),
    QStringLiteral("Loads a database into the table and saves it back, exactly as the window's\n"
                   "Save does (a check that a save loses nothing)."),
    {},
    {QStringLiteral("user")},
    runResave});

} // namespace

} // namespace Ledgerly::Cli
