#include "CliCommand.h"

#include "database/RecordServer.h"

#include <QDir>
#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runUsers(CliContext &ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError{QStringLiteral("users takes no arguments")};
    RecordServer server(ctx.hotSyncHome);
    const QStringList names = server.GetUserNames();
    const QString current = server.GetDefaultUser();
    for (const QString &name : names)
        ctx.out << (name == current ? "* " : "  ") << name << '\n';
    return 0;
}

int runAddUser(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("add-user takes exactly one user name")};
    const QString name = ctx.arguments.first();
    if (name.trimmed().isEmpty())
        throw UsageError{QStringLiteral("the user name is empty")};
    QString folder = ctx.values.value(QStringLiteral("folder"));
    // A folder typed on the command line means one seen from here, not from the home.
    if (!folder.isEmpty())
        folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    RecordServer server(ctx.hotSyncHome);
    server.addUser(name, folder, ctx.flags.contains(QStringLiteral("jpilot")),
                   ctx.flags.contains(QStringLiteral("default")));
    return 0;
}

const CliRegistration usersRegistration(CliCommand{
    QStringLiteral("users"),
    QStringLiteral("users"),
    QStringLiteral("One line per HotSync user of the home, in order; the current user is marked\n"
                   "with \"* \", the others are indented by two blanks."),
    {},
    {},
    runUsers});

const CliRegistration addUserRegistration(CliCommand{
    QStringLiteral("add-user"),
    QStringLiteral("add-user NAME [--folder DIR] [--jpilot] [--default]"),
    QStringLiteral(
        "Adds a HotSync user (or updates an existing one) and creates its folder.\n"
        "--folder DIR: the user's folder (default: a folder named after the user in the\n"
        "home); --jpilot: the folder is a J-Pilot home (installs are also listed in\n"
        "jpilot_to_install); --default: make the user the current user."),
    {QStringLiteral("jpilot"), QStringLiteral("default")},
    {QStringLiteral("folder")},
    runAddUser});

} // namespace

} // namespace Ledgerly::Cli
