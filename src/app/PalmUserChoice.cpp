#include "PalmUserChoice.h"

#include "ProgramLauncher.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "common/Prompter.h"
#include "common/YesNoText.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

namespace Ledgerly {

namespace {
const QString hotSyncSection = QStringLiteral("HotSync");
const QString userKey = QStringLiteral("User");
const QString alwaysUseKey = QStringLiteral("AlwaysUse");
const QString generalSection = QStringLiteral("General");
const QString reportDesigner = QStringLiteral("KestReports");
const QString reportViewer = QStringLiteral("KestViewer");
const QString statusPrefix = QStringLiteral("Palm User Name : ");
} // namespace

const QString PalmUserChoice::palmDesktopKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Preferences");

PalmUserChoice::PalmUserChoice(MainState &state, RecordServer &server, SettingsStore &settings,
                               Prompter &prompter, RegistryBackend &registry,
                               ProgramLauncher &launcher, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_server(server)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_registry(registry)
    , m_launcher(launcher)
{}

bool PalmUserChoice::readBool(const QString &text, bool defaultValue)
{
    switch (YesNoText::read(text, YesNoText::TrueFalse | YesNoText::Numbers)) {
    case YesNoText::Answer::Yes:
        return true;
    case YesNoText::Answer::No:
        return false;
    case YesNoText::Answer::Unreadable:
        break;
    }
    return defaultValue;
}

QString PalmUserChoice::boolText(bool value)
{
    return YesNoText::text(value);
}

QStringList PalmUserChoice::userNames() const
{
    try {
        return m_server.GetUserNames();
    } catch (const PdbError &) {
        return {};
    }
}

QString PalmUserChoice::defaultUser() const
{
    try {
        return m_server.GetDefaultUser();
    } catch (const PdbError &) {
        return {};
    }
}

QString PalmUserChoice::storedUser(const QString &defaultValue) const
{
    return m_settings.value(m_state.AppName, hotSyncSection, userKey, defaultValue);
}

bool PalmUserChoice::readAlwaysUse() const
{
    return readBool(
        m_settings.value(m_state.AppName, hotSyncSection, alwaysUseKey, QStringLiteral("True")),
        true);
}

QString PalmUserChoice::statusText() const
{
    return statusPrefix + storedUser();
}

bool PalmUserChoice::reportToolSetUp() const
{
    return !m_settings.value(reportDesigner, generalSection, userKey).isEmpty() ||
           !m_settings.value(reportViewer, generalSection, userKey).isEmpty();
}

void PalmUserChoice::storeChoice(const QString &user, bool always)
{
    const bool stored =
        m_settings.setValue(m_state.AppName, hotSyncSection, userKey, user) &&
        m_settings.setValue(m_state.AppName, hotSyncSection, alwaysUseKey, boolText(always));
    if (!stored)
        m_prompter.message(QStringLiteral("The HotSync user choice could not be saved; it will "
                                          "be asked for again at the next start."),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

void PalmUserChoice::storeUserSettings()
{
    storeChoice(m_state.PalmUser, m_state.AlwaysUseUser);
}

bool PalmUserChoice::showDialog(QStringList users, const QString &offered, bool always,
                                bool &accepted, QString &chosen, bool &alwaysOut)
{
    // With no users the dialog still opens (the person may type a name), but
    // they are told why the list is empty.
    if (users.isEmpty())
        CheckPalmUsers();
    Prompter::UserChoice choice;
    choice.UserList = std::move(users);
    choice.ChosenUser = offered;
    choice.AlwaysUseChoice = always;
    m_prompter.chooseUser(choice);
    accepted = choice.Accepted;
    chosen = choice.ChosenUser;
    alwaysOut = choice.AlwaysUseChoice;
    return accepted;
}

void PalmUserChoice::ChoosePalmUserAtStart()
{
    const QString s = defaultUser();
    m_state.AlwaysUseUser = readAlwaysUse();

    QString chosen = s;
    bool always = m_state.AlwaysUseUser;
    if (!m_state.AlwaysUseUser) {
        bool accepted = false;
        showDialog(userNames(), s, m_state.AlwaysUseUser, accepted, chosen, always);
    }

    const QString name = s.isEmpty() ? storedUser() : chosen;
    m_state.AlwaysUseUser = always;
    storeChoice(name, m_state.AlwaysUseUser);
    tellReportTools(name);
    Q_EMIT statusTextChanged(statusText());
}

void PalmUserChoice::ReselectPalmUser()
{
    m_state.AlwaysUseUser = readAlwaysUse();
    if (m_state.AlwaysUseUser) {
        m_state.PalmUser = storedUser(QStringLiteral("1"));
        for (const QString &tool : {reportDesigner, reportViewer}) {
            if (!m_settings.value(tool, generalSection, userKey).isEmpty())
                m_settings.setValue(tool, generalSection, userKey, m_state.PalmUser);
        }
    }

    QString chosen = m_state.PalmUser;
    bool always = m_state.AlwaysUseUser;
    if (!m_state.AlwaysUseUser) {
        bool accepted = false;
        showDialog(userNames(), m_state.PalmUser, m_state.AlwaysUseUser, accepted, chosen, always);
    }
    m_state.PalmUser = chosen;
    m_state.AlwaysUseUser = always;
    storeChoice(m_state.PalmUser, m_state.AlwaysUseUser);
    tellReportTools(m_state.PalmUser);
    m_state.PalmUser = storedUser();
}

bool PalmUserChoice::changeUserDialog()
{
    bool accepted = false;
    QString chosen;
    bool always = m_state.AlwaysUseUser;
    showDialog(userNames(), m_state.PalmUser, m_state.AlwaysUseUser, accepted, chosen, always);
    if (!accepted)
        return false;
    m_state.PalmUser = chosen;
    m_state.AlwaysUseUser = always;
    storeChoice(m_state.PalmUser, m_state.AlwaysUseUser);
    updateReportDesigner();
    return true;
}

void PalmUserChoice::updateReportDesigner()
{
    if (!m_settings.value(reportDesigner, generalSection, userKey).isEmpty())
        m_settings.setValue(reportDesigner, generalSection, userKey, m_state.PalmUser);
}

void PalmUserChoice::tellReportTools(const QString &name)
{
    Registry registry(m_registry, m_prompter);
    for (const QString &tool : {reportDesigner, reportViewer}) {
        if (m_settings.value(tool, generalSection, userKey).isEmpty())
            continue;
        registry.WriteRegistryString(palmDesktopKey, QStringLiteral("LastUserName"), name);
        m_settings.setValue(tool, generalSection, userKey, name);
    }
}

void PalmUserChoice::CheckPalmUsers()
{
    if (!userNames().isEmpty())
        return;
    m_prompter.message(
        QStringLiteral("There are no users on this PC Or PalmDesktop(tm) is not installed!"),
        Prompter::Buttons::Ok, Prompter::Icon::None);
}

bool PalmUserChoice::Install_Click()
{
    QString command;
    try {
        m_server.QueueInstall(m_state.PalmUser, m_state.CurrentPath);
        command = m_server.GetInstallCommand();
    } catch (const PdbError &error) {
        m_prompter.message(QStringLiteral("The database could not be queued for installation "
                                          "on the handheld of \"%1\":\n%2\n\n%3 (error %4)")
                               .arg(m_state.PalmUser, m_state.CurrentPath, error.message())
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
