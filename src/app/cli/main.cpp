#include "CliCommand.h"

#include "app/ProgramFolder.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMap>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace Ledgerly;
using namespace Ledgerly::Cli;

QList<CliCommand> &Ledgerly::Cli::cliCommands()
{
    static QList<CliCommand> commands;
    return commands;
}

namespace {

void printHelp(QTextStream &out)
{
    out << "Usage: ledgerly-cli [--program-folder DIR] [--hotsync-home DIR] COMMAND [ARGS]\n\n"
           "Works on the handheld databases of a HotSync home without the window.\n\n"
           "Options:\n"
           "  --program-folder DIR  folder holding QuayDB.ini (default: beside the program,\n"
           "                        else the installed data folder)\n"
           "  --hotsync-home DIR    HotSync home (default: $HOTSYNC_HOME, else HotSync in the\n"
           "                        user's data folder)\n"
           "  --help                this text\n\n"
           "Commands:\n";
    auto commands = cliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    for (const CliCommand &c : commands) {
        out << "  " << c.synopsis << "\n";
        for (const QString &line : c.description.split(QLatin1Char('\n')))
            out << "      " << line << "\n";
    }
    out << "\nExit status: 0 on success, 1 on error, 2 on a usage error.\n";
}

const CliCommand *findCommand(const QString &name)
{
    for (const CliCommand &c : cliCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

// The second words of the two-word commands that start with word.
QStringList subcommandsOf(const QString &word)
{
    QStringList found;
    for (const CliCommand &c : cliCommands())
        if (c.name.startsWith(word + QLatin1Char(' ')))
            found << c.name.mid(word.size() + 1);
    return found;
}

// Pages are drawn with fonts, which only a GUI application has; the command
// line never shows a window, so that one runs on the offscreen platform.
bool drawsPages(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--program-folder") || !std::strcmp(argv[i], "--hotsync-home"))
            ++i;
        else if (argv[i][0] != '-')
            return !std::strcmp(argv[i], "print");
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char *> guiArgv(argv, argv + argc);
    guiArgv.insert(guiArgv.begin() + 1, {platformOption, offscreen});
    int guiArgc = int(guiArgv.size());
    guiArgv.push_back(nullptr); // argv ends with a null pointer
    std::unique_ptr<QCoreApplication> application;
    if (drawsPages(argc, argv))
        application = std::make_unique<QGuiApplication>(guiArgc, guiArgv.data());
    else
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("ledgerly-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString programFolderOption;
    QString homeOption;
    const CliCommand *command = nullptr;
    QStringList positional;
    QStringList flags;
    QMap<QString, QString> values;
    QMap<QString, QStringList> repeated;

    auto usage = [&](const QString &message) {
        err << "ledgerly-cli: " << message << "\n";
        if (command)
            err << "Usage: ledgerly-cli " << command->synopsis << "\n";
        else
            err << "Try 'ledgerly-cli --help'.\n";
        return 2;
    };

    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            printHelp(out);
            return 0;
        }
        if (a == QLatin1String("--program-folder") || a == QLatin1String("--hotsync-home")) {
            if (i + 1 >= args.size())
                return usage(a + QStringLiteral(" needs a folder"));
            (a == QLatin1String("--program-folder") ? programFolderOption : homeOption) =
                args.at(++i);
            continue;
        }
        if (a.startsWith(QLatin1String("--"))) {
            const QString name = a.mid(2);
            if (command && command->flagOptions.contains(name)) {
                flags.append(name);
            } else if (command && command->valueOptions.contains(name)) {
                if (i + 1 >= args.size())
                    return usage(a + QStringLiteral(" needs a value"));
                values.insert(name, args.at(++i));
                repeated[name].append(values.value(name));
            } else {
                return usage(QStringLiteral("unknown option ") + a);
            }
            continue;
        }
        if (!command) {
            command = findCommand(a);
            if (!command && i + 1 < args.size()) {
                command = findCommand(a + QLatin1Char(' ') + args.at(i + 1));
                if (command)
                    ++i;
            }
            if (!command) {
                const QStringList subcommands = subcommandsOf(a);
                if (!subcommands.isEmpty())
                    return usage(a + QStringLiteral(" needs one of: ") +
                                 subcommands.join(QStringLiteral(", ")));
                return usage(QStringLiteral("unknown command ") + a);
            }
        } else {
            positional.append(a);
        }
    }
    if (!command)
        return usage(QStringLiteral("no command given"));

    CliContext ctx{
        resolveProgramFolder(programFolderOption, QCoreApplication::applicationDirPath()),
        RecordServer::defaultHotSyncHome(homeOption),
        positional,
        flags,
        values,
        repeated,
        out,
        err};
    try {
        return command->run(ctx);
    } catch (const UsageError &e) {
        return usage(e.message);
    } catch (const PdbError &e) {
        err << "ledgerly-cli: error " << e.number() << ": " << e.message() << "\n";
        return 1;
    }
}
