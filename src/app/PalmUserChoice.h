#pragma once

#include "MainState.h"

#include <QObject>
#include <QStringList>

namespace Ledgerly {

class Prompter;
class RecordServer;
class RegistryBackend;
class SettingsStore;

// Which Palm user's files are opened, saved and installed: the choice at
// start, after a change of user and at every load and save, its storage in
// the per-user settings ("HotSync"/"User" and "AlwaysUse" under AppName),
// and the report tools and Palm Desktop told of it. The one writer of
// PalmUser.
class PalmUserChoice : public QObject
{
    Q_OBJECT
public:
    PalmUserChoice(const MainState &state, RecordServer &server, SettingsStore &settings,
                   Prompter &prompter, RegistryBackend &registry, QObject *parent = nullptr);

    const QString &PalmUser() const { return m_palmUser; }
    bool AlwaysUseUser() const { return m_alwaysUseUser; }

    // Start-up: the remembered user, or the user dialog when "AlwaysUse" is
    // off; the choice is stored, told to the report tools and becomes
    // PalmUser.
    void ChoosePalmUserAtStart();
    // After a change of user: the stored user again (the dialog a second
    // time when "AlwaysUse" is off), stored and told to the report tools.
    void ReselectPalmUser();
    // The change-user command's dialog: always shown; an accepted choice is
    // taken and stored. Returns whether it was accepted.
    bool changeUserDialog();
    // A load follows the HotSync home's default user, which is the user whose
    // folder was last asked for.
    void followDefaultUser();
    // A save takes the stored user again.
    void takeStoredUser();
    // The command line's --user: a HotSync user of the home, in its stored
    // spelling. Throws PdbError for a name the home does not know.
    void useUser(const QString &name);
    void CheckPalmUsers();
    // What the window stores when it unloads.
    void storeUserSettings();

    QString storedUser(const QString &defaultValue = {}) const;
    // "Palm User Name : " and the stored user, for the status bar.
    QString statusText() const;
    static QString statusText(const QString &user);
    // The component's user list; empty when it knows none or fails.
    QStringList userNames() const;
    QString defaultUser() const;

    // Boolean settings written as text ("True"/"False"); anything that is not
    // a boolean or a number reads as the default.
    static bool readBool(const QString &text, bool defaultValue);
    static QString boolText(bool value);

Q_SIGNALS:
    void statusTextChanged(const QString &text); // status bar panel 3

private:
    void setPalmUser(const QString &name);
    bool showDialog(const QString &offered, QString &chosen, bool &always);
    // The user of the list the name stands for, in the list's spelling;
    // empty when none.
    static QString userOf(const QStringList &users, const QString &name);
    void storeChoice(const QString &user, bool always);
    bool readAlwaysUse() const;
    void tellReportTools(const QString &name);

    const MainState &m_state;
    RecordServer &m_server;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    RegistryBackend &m_registry;
    QString m_palmUser;
    bool m_alwaysUseUser = true;
};

} // namespace Ledgerly
