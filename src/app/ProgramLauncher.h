#pragma once

#include <QString>
#include <QStringList>

namespace Ledgerly {

// Starts other programs without waiting for them and never through a shell:
// a command line is split into a program and its arguments, so blanks and
// shell characters in file names are plain text.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started; error tells why.
    virtual bool startDetached(const QString &program, const QStringList &arguments,
                               QString *error = nullptr) = 0;

    // Splits commandLine (quotes group words) and starts it.
    bool startCommandLine(const QString &commandLine, QString *error = nullptr);
    static QStringList splitCommandLine(const QString &commandLine);
};

class ProcessLauncher : public ProgramLauncher
{
public:
    bool startDetached(const QString &program, const QStringList &arguments,
                       QString *error = nullptr) override;
};

} // namespace Ledgerly
