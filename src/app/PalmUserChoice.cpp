#include "PalmUserChoice.h"

#include "ReportToolUsers.h"
#include "SettingsStore.h"
#include "common/Prompter.h"
#include "common/YesNoText.h"
#include "database/HotSyncHome.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <algorithm>

namespace Ledgerly {

namespace {
const QString hotSyncSection = QStringLiteral("HotSync");
const QString userKey = QStringLiteral("User");
const QString alwaysUseKey = QStringLiteral("AlwaysUse");
} // namespace

PalmUserChoice::PalmUserChoice(const MainState &state, RecordServer &server,
                               SettingsStore &settings, Prompter &prompter,
                               RegistryBackend &registry, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_server(server)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_registry(registry)
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

void PalmUserChoice::setPalmUser(const QString &name)
{
    m_palmUser = name;
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

QString PalmUserChoice::statusText(const QString &user)
{
    return QStringLiteral("Palm User Name : ") + user;
}

QString PalmUserChoice::statusText() const
{
    return statusText(storedUser());
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
    storeChoice(m_palmUser, m_alwaysUseUser);
}

void PalmUserChoice::tellReportTools(const QString &name)
{
    ReportToolUsers(m_settings).tell(name, m_registry, m_prompter);
}

// The dialog offers the users of the home with `offered` chosen; chosen and
// always come back as the dialog left them. Whether it was accepted.
bool PalmUserChoice::showDialog(const QString &offered, QString &chosen, bool &always)
{
    const QStringList users = userNames();
    Prompter::UserChoice choice;
    choice.UserList = users;
    // With no users the dialog still opens, but they are told why the list
    // is empty.
    if (choice.UserList.isEmpty())
        CheckPalmUsers();
    choice.ChosenUser = offered;
    choice.AlwaysUseChoice = m_alwaysUseUser;
    m_prompter.chooseUser(choice);
    // A name the home does not know would open, save and install nothing:
    // it is refused and the dialog comes back with it, until a user of the
    // home is chosen or the dialog is cancelled.
    while (choice.Accepted && userOf(users, choice.ChosenUser).isEmpty()) {
        m_prompter.message(QStringLiteral("There is no HotSync user \"%1\" on this computer. "
                                          "Choose one of the users in the list.")
                               .arg(choice.ChosenUser),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        choice.Accepted = false;
        choice.UserList = users;
        m_prompter.chooseUser(choice);
    }
    // The home's own spelling of the name is the one kept.
    chosen = choice.Accepted ? userOf(users, choice.ChosenUser) : choice.ChosenUser;
    always = choice.AlwaysUseChoice;
    return choice.Accepted;
}

QString PalmUserChoice::userOf(const QStringList &users, const QString &name)
{
    const auto found = std::find_if(users.cbegin(), users.cend(), [&name](const QString &user) {
        return HotSyncHome::sameUser(user, name);
    });
    return found == users.cend() ? QString() : *found;
}

void PalmUserChoice::ChoosePalmUserAtStart()
{
    const QString current = defaultUser();
    m_alwaysUseUser = readAlwaysUse();
    QString chosen = current;
    bool always = m_alwaysUseUser;
    if (!m_alwaysUseUser)
        showDialog(current, chosen, always);

    const QString name = current.isEmpty() ? storedUser() : chosen;
    m_alwaysUseUser = always;
    storeChoice(name, m_alwaysUseUser);
    tellReportTools(name);
    setPalmUser(name);
    Q_EMIT statusTextChanged(statusText());
}

void PalmUserChoice::ReselectPalmUser()
{
    m_alwaysUseUser = readAlwaysUse();
    QString chosen = m_alwaysUseUser ? storedUser(QStringLiteral("1")) : m_palmUser;
    bool always = m_alwaysUseUser;
    if (!m_alwaysUseUser)
        showDialog(m_palmUser, chosen, always);
    m_alwaysUseUser = always;
    storeChoice(chosen, m_alwaysUseUser);
    tellReportTools(chosen);
    setPalmUser(chosen);
    Q_EMIT statusTextChanged(statusText(m_palmUser));
}

bool PalmUserChoice::changeUserDialog()
{
    QString chosen;
    bool always = m_alwaysUseUser;
    if (!showDialog(m_palmUser, chosen, always))
        return false;
    m_alwaysUseUser = always;
    storeChoice(chosen, m_alwaysUseUser);
    ReportToolUsers(m_settings).tellDesigner(chosen);
    setPalmUser(chosen);
    return true;
}

void PalmUserChoice::followDefaultUser()
{
    setPalmUser(defaultUser());
}

void PalmUserChoice::takeStoredUser()
{
    setPalmUser(storedUser());
    Q_EMIT statusTextChanged(statusText(m_palmUser));
}

void PalmUserChoice::useUser(const QString &name)
{
    setPalmUser(m_server.userNamed(name));
}

void PalmUserChoice::CheckPalmUsers()
{
    if (!userNames().isEmpty())
        return;
    m_prompter.message(
        QStringLiteral("There are no users on this PC Or PalmDesktop(tm) is not installed!"),
        Prompter::Buttons::Ok, Prompter::Icon::None);
}

} // namespace Ledgerly
