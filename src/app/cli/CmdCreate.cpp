#include "CliSession.h"

#include "app/MainController.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runCreate(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("create takes exactly one section name")};
    const QString section = ctx.arguments.first();
    CliSession session(ctx);
    MainController &controller = session.controller();
    const int index = session.sectionIndexOrReport(section);
    if (index < 0)
        return 1;
    if (!session.lockOrReport(section))
        return 1;
    const QString stem = controller.catalogue().section(index);
    const QString path = session.databasePath(stem);
    // A link, even one to nothing, takes the name: creating its target
    // would write outside the user's folder.
    if (QFileInfo(path).isSymLink()) {
        ctx.err << "ledgerly-cli: " << path
                << " is a symbolic link; create never writes through a link\n";
        return 1;
    }
    if (QFileInfo::exists(path)) {
        ctx.err << "ledgerly-cli: " << path << " already exists; create never overwrites a file\n";
        return 1;
    }
    // The section is chosen without opening it, as when the loader finds
    // its file missing.
    controller.chooseSection(index);

    controller.CreateDatabase(path);
    if (!controller.loadCompleted() || !QFileInfo::exists(path)) {
        ctx.err << "ledgerly-cli: " << path << " was not created\n";
        return 1;
    }
    ctx.out << path << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("create"),
    QStringLiteral("create SECTION [--user NAME]"),
    QStringLiteral("Creates the missing database of a QuayDB.ini section from the schema, as the\n"
                   "window does when a chosen database has no file; refuses an existing file."),
    {},
    {QStringLiteral("user")},
    runCreate});

} // namespace

} // namespace Ledgerly::Cli
