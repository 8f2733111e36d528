#pragma once

// Runs the ledgerly-cli this build made, for tests of the command line.

#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun
{
    int status = -1; // exit status; -1 when it crashed or did not finish
    QString out;
    QString err;
};

inline QString ledgerlyCliPath()
{
    return QStringLiteral(LEDGERLY_BIN_DIR "/ledgerly-cli");
}

inline CliRun
runLedgerlyCli(const QStringList &args,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(ledgerlyCliPath(), args);
    CliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
