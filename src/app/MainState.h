#pragma once

#include "ProgramFiles.h"

#include <QString>

namespace Ledgerly {

// The program's settings for the whole run: where it lives and what
// Ledgerly.ini says. The open database (its path and whether it was edited)
// is the document's, the Palm user the user choice's.
struct MainState
{
    QString ProgramFolder; // without a trailing separator

    // Settings read from Ledgerly.ini.
    QString AppName;
    QString DeveloperName;
    QString DeveloperWebsite;
    QString ContactEmail;
    QString Copyright;
    QString Skin;
    QString HelpFile;

    QString settingsFile() const { return ProgramFiles::settingsFile(ProgramFolder); }
    QString schemaFile() const { return ProgramFiles::schemaFile(ProgramFolder); }
};

} // namespace Ledgerly
