#include "CliSession.h"

#include "app/ControllerMessages.h"
#include "app/DesktopSettings.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/PlatformRegistry.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

CliSession::CliSession(CliContext &ctx)
    : m_ctx(ctx)
    , m_prompter(ctx.err)
    , m_server(std::make_unique<RecordServer>(ctx.hotSyncHome))
    , m_settings(std::make_unique<QSettingsStore>())
    , m_registry(makePlatformRegistry())
    , m_launcher(std::make_unique<ProcessLauncher>())
    , m_controller(std::make_unique<MainController>(
          MainController::Services{*m_server, *m_settings, m_prompter, *m_registry, *m_launcher}))
{
    // A command locks only a database it changes (lockOrReport); reading one
    // another program has open must still work.
    m_controller->setLocksDatabases(false);
    m_controller->setRemembersViews(false);
    MainState &state = m_controller->state();
    state.ProgramFolder = ctx.programFolder;
    DesktopSettings::LoadDesktopSettings(state);
    // A command asked for a particular user must never fall back to another
    // one: an unknown --user is an error (names match ignoring case).
    PalmUserChoice &users = m_controller->users();
    const QString user = ctx.values.value(QStringLiteral("user"));
    if (user.isEmpty())
        users.followDefaultUser();
    else
        users.useUser(user);
    m_server->GetUserFolder(users.PalmUser());

    // A schema or settings file that is there but cannot be read would look
    // like one naming no databases; that must not pass for success.
    for (const QString &file : {state.settingsFile(), state.schemaFile()}) {
        const QString problem = iniFileProblem(file);
        if (!problem.isEmpty())
            throw PdbError(ErrPathAccess, problem);
    }
    m_controller->BuildCatalogue();
    const QString unlisted = m_controller->catalogue().unlistedMessage();
    if (!unlisted.isEmpty())
        m_ctx.err << "ledgerly-cli: " << unlisted << "\n";
}

CliSession::~CliSession() = default;

int CliSession::sectionIndex(const QString &section) const
{
    return m_controller->catalogue().indexOf(section);
}

int CliSession::sectionIndexOrReport(const QString &section)
{
    const int index = sectionIndex(section);
    if (index < 0) {
        if (!reportUnlisted(section))
            m_ctx.err << "ledgerly-cli: QuayDB.ini has no section \"" << section << "\"\n";
        return -1;
    }
    // The section name becomes a file name beside the user's other databases:
    // one that could reach outside that folder is refused, as the chooser does.
    const QString stem = m_controller->catalogue().section(index);
    if (!isSafeSectionName(stem)) {
        m_ctx.err << "ledgerly-cli: " << terminalText(ControllerMessages::unsafeSection(stem))
                  << "\n";
        return -1;
    }
    return index;
}

QString CliSession::databasePath(const QString &section)
{
    return m_controller->databasePath(m_controller->PalmUser(), section);
}

QString CliSession::databasePathOrReport(const QString &section)
{
    const int index = sectionIndexOrReport(section);
    if (index < 0)
        return {};
    return databasePath(m_controller->catalogue().section(index));
}

bool CliSession::reportUnlisted(const QString &section)
{
    if (!m_controller->catalogue().isUnlisted(section))
        return false;
    // Saying the schema has no such section would send the person looking
    // for a typing mistake.
    m_ctx.err << "ledgerly-cli: the section \"" << section
              << "\" is one of those QuayDB.ini could not list\n";
    return true;
}

bool CliSession::open(const QString &section)
{
    const int index = sectionIndex(section);
    if (index < 0)
        return false;
    return m_controller->openSection(index) && m_controller->CurrentDatabase() != nullptr;
}

bool CliSession::openOrReport(const QString &section)
{
    if (sectionIndex(section) < 0) {
        if (!reportUnlisted(section))
            m_ctx.err << "ledgerly-cli: no database section " << section << " in "
                      << m_controller->state().schemaFile() << "\n";
        return false;
    }
    if (!open(section)) {
        m_ctx.err << "ledgerly-cli: the database " << section << " could not be loaded\n";
        return false;
    }
    return true;
}

bool CliSession::fileExistsOrReport(const QString &section)
{
    const int index = sectionIndex(section);
    if (index < 0)
        return true;
    const QString stem = m_controller->catalogue().section(index);
    const QString path = databasePath(stem);
    if (QFileInfo::exists(path))
        return true;
    m_ctx.err << "ledgerly-cli: " << path << " does not exist; \"ledgerly-cli create " << stem
              << "\" makes it\n";
    return false;
}

bool CliSession::lockOrReport(const QString &section)
{
    const int index = sectionIndex(section);
    if (index < 0)
        return true; // nothing to lock; the command reports the section itself
    m_lock = DatabaseLock::acquire(databasePath(m_controller->catalogue().section(index)));
    if (!m_lock.isLocked()) {
        m_ctx.err << "ledgerly-cli: " << m_lock.error() << "\n";
        return false;
    }
    return true;
}

QString terminalText(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool CliSession::openExistingOrReport(const QString &section)
{
    return fileExistsOrReport(section) && openOrReport(section);
}

bool CliSession::openForChangeOrReport(const QString &section)
{
    const QString path = databasePathOrReport(section);
    if (path.isEmpty() || !lockOrReport(section) || !fileExistsOrReport(section))
        return false;
    if (!open(section) || m_controller->isQuitRequested()) {
        m_ctx.err << "ledgerly-cli: the database of \"" << section << "\" was not loaded\n";
        return false;
    }
    return true;
}

} // namespace Ledgerly::Cli
