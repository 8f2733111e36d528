#pragma once

#include "app/ProgramLauncher.h"

#include <QList>
#include <QStringList>

// Records the programs the code under test starts instead of starting them;
// succeed = false makes every start fail with an error text.
class RecordingLauncher : public Ledgerly::ProgramLauncher
{
public:
    bool succeed = true;
    QStringList programs;
    QList<QStringList> arguments;
    bool startDetached(const QString &program, const QStringList &args, QString *error) override
    {
        programs << program;
        arguments << args;
        if (!succeed && error)
            *error = QStringLiteral("cannot start");
        return succeed;
    }
};
