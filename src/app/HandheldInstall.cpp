#include "HandheldInstall.h"

#include "ProgramLauncher.h"
#include "common/Prompter.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

namespace Ledgerly {

HandheldInstall::HandheldInstall(RecordServer &server, ProgramLauncher &launcher,
                                 Prompter &prompter)
    : m_server(server)
    , m_launcher(launcher)
    , m_prompter(prompter)
{}

bool HandheldInstall::install(const QString &user, const QString &path)
{
    QString command;
    try {
        m_server.QueueInstall(user, path);
        command = m_server.GetInstallCommand();
    } catch (const PdbError &error) {
        m_prompter.message(QStringLiteral("The database could not be queued for installation "
                                          "on the handheld of \"%1\":\n%2\n\n%3 (error %4)")
                               .arg(user, path, error.message())
                               .arg(error.number()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    // No command means the queue alone does the work at the next HotSync.
    if (command.trimmed().isEmpty())
        return true;
    QString why;
    if (m_launcher.startCommandLine(command, &why))
        return true;
    m_prompter.message(QStringLiteral("The database was queued for installation, but the install "
                                      "command could not be started:\n%1\n\n%2")
                           .arg(command, why),
                       Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    return false;
}

} // namespace Ledgerly
