#include "ProgramLauncher.h"

#include <QProcess>

namespace Ledgerly {

QStringList ProgramLauncher::splitCommandLine(const QString &commandLine)
{
    return QProcess::splitCommand(commandLine);
}

bool ProgramLauncher::startCommandLine(const QString &commandLine, QString *error)
{
    QStringList words = splitCommandLine(commandLine);
    if (words.isEmpty()) {
        if (error)
            *error = QStringLiteral("The command line is empty.");
        return false;
    }
    const QString program = words.takeFirst();
    return startDetached(program, words, error);
}

bool ProcessLauncher::startDetached(const QString &program, const QStringList &arguments,
                                    QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

} // namespace Ledgerly
