#pragma once

#include <QString>
#include <QStringList>

namespace Ledgerly {

class ProgramLauncher;
class Prompter;
class SettingsStore;

// The maker's report tools (the designer KestReports and the viewer
// KestViewer): which one Print Preview and Reports start, with which command
// line, or whether Print Preview shows the built-in preview instead.
class ReportTool
{
public:
    // Section "Reports" of Ledgerly.ini, read afresh for every command.
    struct Settings
    {
        QString ReportSoftware;
        QString KestReportsLocation;
        QString ReportsName;
        QString DownloadPage;
    };

    // An executable and its arguments: started without a shell, so a path
    // holding blanks stays one argument.
    struct CommandLine
    {
        QString program;
        QStringList arguments;
        // The line as one text, for messages.
        QString text() const;
    };

    enum class Outcome {
        ShowPreview, // the caller shows the built-in preview
        Started,
        MissingFile, // neither tool is set up; the message was shown
        NotStarted,  // the tool could not be started; the message was shown
    };

    static const QString defaultDownloadPage;

    ReportTool(QString programFolder, SettingsStore &settings, Prompter &prompter,
               ProgramLauncher &launcher);

    static Settings readSettings(const QString &programFolder);
    // "Viewer", case ignored.
    static bool usesViewer(const Settings &settings);
    static CommandLine reportsCommand(const Settings &settings, const QString &programFolder);
    // chooserIndex: the selected entry of the database chooser, -1 for none.
    static CommandLine previewCommand(const Settings &settings, const QString &programFolder,
                                      int chooserIndex);
    static QString missingFileText(const Settings &settings);

    // The Reports command: starts the designer's command line.
    Outcome Reports_Click();
    // The Print Preview command of the menu (presence test first) or of the
    // toolbar (no presence test).
    Outcome PrintPreview_Click(int chooserIndex, bool fromToolbar);

private:
    Outcome start(const CommandLine &command, const QString &commandName);

    QString m_programFolder;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    ProgramLauncher &m_launcher;
};

} // namespace Ledgerly
