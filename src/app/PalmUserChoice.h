#pragma once

#include "MainState.h"

#include <QObject>
#include <QStringList>

namespace Ledgerly {

class Prompter;
class ProgramLauncher;
class RecordServer;
class RegistryBackend;
class SettingsStore;

// Which Palm user's files are opened, saved and installed: the choice at
// start, after a change of user, its storage in the per-user settings, the
// report tools and Palm Desktop told of it, and the install queue.
class PalmUserChoice : public QObject
{
    Q_OBJECT
public:
    static const QString palmDesktopKey;

    PalmUserChoice(MainState &state, RecordServer &server, SettingsStore &settings,
                   Prompter &prompter, RegistryBackend &registry, ProgramLauncher &launcher,
                   QObject *parent = nullptr);

    void ChoosePalmUserAtStart();
    void ReselectPalmUser();
    // The change-user command's dialog: always shown; an accepted choice is
    // taken and stored. Returns whether it was accepted.
    bool changeUserDialog();
    void CheckPalmUsers();
    // Queues the open database for PalmUser and starts the install command.
    // Returns false (after saying why) when either step failed.
    bool Install_Click();

    // The report designer and viewer, and Palm Desktop, are told of name;
    // a tool that was never set up is left alone.
    void tellReportTools(const QString &name);
    // When the designer is set up, it follows PalmUser.
    void updateReportDesigner();
    // What the window stores when it unloads.
    void storeUserSettings();

    bool reportToolSetUp() const;
    QString storedUser(const QString &defaultValue = {}) const;
    QString statusText() const;
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
    bool showDialog(QStringList users, const QString &offered, bool always, bool &accepted,
                    QString &chosen, bool &alwaysOut);
    void storeChoice(const QString &user, bool always);
    bool readAlwaysUse() const;

    MainState &m_state;
    RecordServer &m_server;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    RegistryBackend &m_registry;
    ProgramLauncher &m_launcher;
};

} // namespace Ledgerly
