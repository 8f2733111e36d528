#pragma once

#include "MainState.h"

#include <QString>

namespace Ledgerly {

// The texts and file names the about box shows, read from Ledgerly.ini each
// time the box is created. Paths are full; labels carry their fixed prefixes.
struct AboutSettings
{
    QString lblProductName;
    QString lblVersion;
    QString lblCompany;
    QString lblCopyright;
    QString lblTechSupport;
    QString HelpFile;
    QString logoPath;
    QString html;
    QString skinPath;
};

class DesktopSettings
{
public:
    // Reads the display name, developer and support texts, skin and help file
    // names of Ledgerly.ini into the state, replacing earlier values. A missing
    // file or key reads as empty.
    static void LoadDesktopSettings(MainState &state);

    // The main window's icon file (full path; empty when not set).
    static QString iconPath(const MainState &state);

    static AboutSettings loadAboutSettings(const QString &programFolder);

    // Picture files named in the settings relative to the program folder.
    static QString programFile(const QString &programFolder, const QString &name);
};

} // namespace Ledgerly
