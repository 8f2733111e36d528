#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace Ledgerly::Cli {

// What every command receives: the resolved folders, the positional
// arguments after the command name, and the options it declared.
struct CliContext
{
    QString programFolder;
    QString hotSyncHome;
    QStringList arguments;               // positional, after the command name
    QStringList flags;                   // boolean options given, without "--"
    QMap<QString, QString> values;       // options with a value, without "--"; the last one given
    QMap<QString, QStringList> repeated; // every value of each such option, in the order given
    QTextStream &out;
    QTextStream &err;
};

// Thrown for a usage mistake; main prints the usage and exits with status 2.
struct UsageError
{
    QString message;
};

struct CliCommand
{
    QString name;                         // one word, or two ("schema check")
    QString synopsis;                     // "dump FILE.pdb"
    QString description;                  // one or two lines for --help
    QStringList flagOptions;              // e.g. {"jpilot", "default"}
    QStringList valueOptions;             // e.g. {"user", "folder"}
    std::function<int(CliContext &)> run; // exit status; errors go to ctx.err
};

// Each command file registers itself with a static CliRegistration, so adding
// a command touches no shared file.
QList<CliCommand> &cliCommands();
struct CliRegistration
{
    explicit CliRegistration(CliCommand command) { cliCommands().append(std::move(command)); }
};

} // namespace Ledgerly::Cli
