#include "DesktopSettings.h"

#include "catalogue/IniFile.h"

#include <QDir>

namespace Ledgerly {

namespace {
QString read(const QString &file, const char16_t *section, const char16_t *key)
{
    return ReadIniValue(QString::fromUtf16(section), QString::fromUtf16(key), file);
}

QString ownSection(const QString &file, const char16_t *name)
{
    return read(file, name, name);
}
} // namespace

void DesktopSettings::LoadDesktopSettings(MainState &state)
{
    const QString file = state.settingsFile();
    state.AppName = ownSection(file, u"DesktopName");
    state.DeveloperName = ownSection(file, u"DeveloperName");
    state.DeveloperWebsite = ownSection(file, u"DeveloperWebsite");
    state.ContactEmail = ownSection(file, u"ContactEmail");
    state.Copyright = ownSection(file, u"Copyright");
    state.Skin = read(file, u"ImageFiles", u"Skin");
    state.HelpFile = read(file, u"HelpFiles", u"HelpFile");
}

QString DesktopSettings::iconPath(const MainState &state)
{
    return programFile(state.ProgramFolder, read(state.settingsFile(), u"ImageFiles", u"Icon"));
}

QString DesktopSettings::programFile(const QString &programFolder, const QString &name)
{
    if (name.isEmpty())
        return {};
    // Names written on Windows may use backslashes.
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(programFolder).filePath(relative);
}

AboutSettings DesktopSettings::loadAboutSettings(const QString &programFolder)
{
    MainState paths;
    paths.ProgramFolder = programFolder;
    const QString file = paths.settingsFile();

    AboutSettings about;
    const QString contact = ownSection(file, u"ContactEmail");
    about.lblProductName = ownSection(file, u"DesktopName");
    about.lblVersion = read(file, u"VersionSetting", u"Version");
    about.lblCompany = ownSection(file, u"DeveloperName");
    about.lblCopyright = QStringLiteral("Copyright: ") + ownSection(file, u"Copyright");
    about.lblTechSupport = QStringLiteral("For support email: ") + contact;
    about.HelpFile = read(file, u"HelpFiles", u"HelpFile");
    about.logoPath = programFile(programFolder, read(file, u"ImageFiles", u"Splash"));
    about.html = read(file, u"Support", u"HTML");
    about.skinPath = programFile(programFolder, read(file, u"ImageFiles", u"Skin"));
    return about;
}

} // namespace Ledgerly
