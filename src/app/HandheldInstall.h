#pragma once

#include <QString>

namespace Ledgerly {

class ProgramLauncher;
class Prompter;
class RecordServer;

// Puts a database file in a Palm user's install queue, so the handheld
// receives it at the next HotSync, and starts the install command the
// HotSync home names. The window's Install and Save & Install and the
// command line's install all come here.
class HandheldInstall
{
public:
    HandheldInstall(RecordServer &server, ProgramLauncher &launcher, Prompter &prompter);

    // False, after saying why through the prompter, when the file could not
    // be queued or the install command could not be started.
    bool install(const QString &user, const QString &path);

private:
    RecordServer &m_server;
    ProgramLauncher &m_launcher;
    Prompter &m_prompter;
};

} // namespace Ledgerly
