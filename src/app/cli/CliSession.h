#pragma once

#include "CliPrompter.h"

#include <QMap>

#include "CliCommand.h"
#include "database/DatabaseLock.h"

#include <memory>

namespace Ledgerly {
class MainController;
class ProcessLauncher;
class RecordServer;
class RegistryBackend;
class QSettingsStore;
} // namespace Ledgerly

namespace Ledgerly::Cli {

// Everything a command needs to work the way the window does, without the
// window: the record component on the HotSync home, the per-user settings,
// a non-interactive prompter and the main controller with its catalogue.
//
// The constructor reads AppName from Ledgerly.ini, builds the catalogue from
// QuayDB.ini and sets PalmUser: the --user option when the command declared
// and was given it, else the HotSync home's default user. It throws PdbError
// when the HotSync home cannot be read or a --user is unknown.
class CliSession
{
public:
    explicit CliSession(CliContext &ctx);
    ~CliSession();
    CliSession(const CliSession &) = delete;
    CliSession &operator=(const CliSession &) = delete;

    MainController &controller() { return *m_controller; }
    RecordServer &server() { return *m_server; }
    CliPrompter &prompter() { return m_prompter; }

    // Position of the section in the catalogue (case ignored), or -1.
    int sectionIndex(const QString &section) const;
    // sectionIndex() for a command that needs the section: prints that the
    // schema has no such section, or that its name is not a safe file name,
    // when it returns -1.
    int sectionIndexOrReport(const QString &section);
    // The section's database file for PalmUser: user folder + "/" + section +
    // ".pdb". Throws PdbError for an unknown user.
    QString databasePath(const QString &section);
    // databasePath() of a section the command needs: empty after printing why
    // there is none (an unknown or unsafe section name).
    QString databasePathOrReport(const QString &section);
    // Chooses the section in the database chooser, exactly as a click does
    // (which saves a database that was open first). True when its database
    // ended up loaded completely into the table.
    bool open(const QString &section);
    // open() for a command that needs the section's table: prints why to the
    // error stream when the section is unknown or its database did not load.
    bool openOrReport(const QString &section);
    // For the commands that never create a database (the window creates a
    // missing one when it is chosen): prints that the section's file does not
    // exist and gives false. True for a section the schema does not name,
    // which the command then reports.
    bool fileExistsOrReport(const QString &section);
    // openOrReport() for the commands that read a database: a missing file
    // is reported, never created.
    bool openExistingOrReport(const QString &section);
    // open() for a command that changes and saves the database: locks it,
    // and loads it only when its file exists (a missing one is never
    // created here). Prints why when it returns false.
    bool openForChangeOrReport(const QString &section);
    // Locks the section's database for this command's changes; prints who
    // holds it and gives false when another program does. Held until the
    // session ends.
    bool lockOrReport(const QString &section);

private:
    // Prints that the schema names the section but could not list it;
    // false when it is not such a section.
    bool reportUnlisted(const QString &section);

    CliContext &m_ctx;
    CliPrompter m_prompter;
    std::unique_ptr<RecordServer> m_server;
    std::unique_ptr<QSettingsStore> m_settings;
    std::unique_ptr<RegistryBackend> m_registry;
    std::unique_ptr<ProcessLauncher> m_launcher;
    std::unique_ptr<MainController> m_controller;
    DatabaseLock m_lock;
};

// Messages keep the CR the window shows as a line break; a terminal wants LF.
QString terminalText(QString text);

} // namespace Ledgerly::Cli
