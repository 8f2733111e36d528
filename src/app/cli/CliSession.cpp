#include "CliSession.h"

#include "app/ControllerMessages.h"
#include "app/MainController.h"
#include "app/SettingsStore.h"
#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

namespace Ledgerly::Cli {

CliSession::CliSession(CliContext &ctx)
    : m_ctx(ctx)
    , m_prompter(ctx.err)
    , m_server(std::make_unique<RecordServer>(ctx.hotSyncHome))
    , m_settings(std::make_unique<QSettingsStore>())
    , m_controller(std::make_unique<MainController>(*m_server, *m_settings, m_prompter))
{
    MainState &state = m_controller->state();
    state.ProgramFolder = ctx.programFolder;
    state.AppName = ReadIniValue(QStringLiteral("DesktopName"), QStringLiteral("DesktopName"),
                                 state.settingsFile());
    const QString user = ctx.values.value(QStringLiteral("user"));
    // The record component falls back to its default user for a name it does
    // not know; a command asked for a particular user must not do that.
    if (!user.isEmpty() && !m_server->GetUserNames().contains(user, Qt::CaseInsensitive))
        throw PdbError(ErrNoSuchUser, QStringLiteral("There is no HotSync user \"%1\"").arg(user));
    state.PalmUser = user.isEmpty() ? m_server->GetDefaultUser() : user;
    m_server->GetUserFolder(state.PalmUser);

    m_controller->BuildCatalogue();
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
    return m_controller->databasePath(m_controller->state().PalmUser, section);
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

QString terminalText(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace Ledgerly::Cli
