#pragma once

#include <QString>

namespace Ledgerly {

class Prompter;
class RegistryBackend;
class SettingsStore;

// The maker's report tools, the designer KestReports and the viewer
// KestViewer, keep their own note of the Palm user (their "General"/"User"
// setting); a tool whose note is empty was never set up and is left alone.
class ReportToolUsers
{
public:
    // Palm Desktop's key, whose "LastUserName" follows the tools' user.
    static const QString palmDesktopKey;

    explicit ReportToolUsers(SettingsStore &settings);

    bool designerSetUp() const;
    bool viewerSetUp() const;
    bool anySetUp() const { return designerSetUp() || viewerSetUp(); }

    // Every tool that is set up, and Palm Desktop with it, is told of name.
    void tell(const QString &name, RegistryBackend &registry, Prompter &prompter);
    // Only the designer (when set up) is told.
    void tellDesigner(const QString &name);

private:
    SettingsStore &m_settings;
};

} // namespace Ledgerly
