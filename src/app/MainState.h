#pragma once

#include <QString>

namespace Ledgerly {

// The main window's run-time state, one instance for the whole run. Field
// names are the ones every procedure refers to.
struct MainState
{
    QString ProgramFolder; // without a trailing separator
    QString CurrentPath;
    bool DatabaseEdited = false;
    QString PalmUser;
    bool AlwaysUseUser = true;

    // Settings read from Ledgerly.ini.
    QString AppName;
    QString DeveloperName;
    QString DeveloperWebsite;
    QString ContactEmail;
    QString Copyright;
    QString Skin;
    QString HelpFile;

    QString settingsFile() const { return ProgramFolder + QStringLiteral("/Ledgerly.ini"); }
    QString schemaFile() const { return ProgramFolder + QStringLiteral("/QuayDB.ini"); }
};

} // namespace Ledgerly
