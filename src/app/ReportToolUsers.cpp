#include "ReportToolUsers.h"

#include "Registry.h"
#include "SettingsStore.h"

namespace Ledgerly {

namespace {
const QString generalSection = QStringLiteral("General");
const QString userKey = QStringLiteral("User");
const QString designer = QStringLiteral("KestReports");
const QString viewer = QStringLiteral("KestViewer");
} // namespace

const QString ReportToolUsers::palmDesktopKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Preferences");

ReportToolUsers::ReportToolUsers(SettingsStore &settings)
    : m_settings(settings)
{}

bool ReportToolUsers::designerSetUp() const
{
    return !m_settings.value(designer, generalSection, userKey).isEmpty();
}

bool ReportToolUsers::viewerSetUp() const
{
    return !m_settings.value(viewer, generalSection, userKey).isEmpty();
}

void ReportToolUsers::tell(const QString &name, RegistryBackend &registry, Prompter &prompter)
{
    Registry palmDesktop(registry, prompter);
    for (const QString &tool : {designer, viewer}) {
        if (m_settings.value(tool, generalSection, userKey).isEmpty())
            continue;
        palmDesktop.WriteRegistryString(palmDesktopKey, QStringLiteral("LastUserName"), name);
        m_settings.setValue(tool, generalSection, userKey, name);
    }
}

void ReportToolUsers::tellDesigner(const QString &name)
{
    if (designerSetUp())
        m_settings.setValue(designer, generalSection, userKey, name);
}

} // namespace Ledgerly
