#include "CliCommand.h"
#include "CliSession.h"

#include "app/MainController.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runInstall(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("install takes exactly one section name")};
    const QString section = ctx.arguments.first();
    CliSession session(ctx);
    MainController &controller = session.controller();
    const QString path = session.databasePathOrReport(section);
    if (path.isEmpty())
        return 1;
    // Only a file that is there can go to the handheld.
    if (!QFileInfo(path).isFile()) {
        ctx.err << "ledgerly-cli: " << path << " does not exist\n";
        return 1;
    }
    if (!controller.install(controller.PalmUser(), path))
        return 1;
    ctx.out << path << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("install"),
    QStringLiteral("install SECTION [--user NAME]"),
    QStringLiteral("Queues SECTION's database file for the user's handheld at the next HotSync\n"
                   "and starts the HotSync home's install command, as the window's Install does."),
    {},
    {QStringLiteral("user")},
    runInstall});

} // namespace

} // namespace Ledgerly::Cli
