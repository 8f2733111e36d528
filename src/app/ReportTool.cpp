#include "ReportTool.h"

#include "ProgramFiles.h"
#include "ProgramLauncher.h"
#include "ReportToolUsers.h"
#include "SettingsStore.h"
#include "catalogue/IniFile.h"
#include "common/Prompter.h"

#include <algorithm>
#include <utility>

namespace Ledgerly {

namespace {
const QString reportsSection = QStringLiteral("Reports");

QString quotedIfBlank(const QString &word)
{
    return word.contains(QLatin1Char(' ')) ? QLatin1Char('"') + word + QLatin1Char('"') : word;
}
} // namespace

const QString ReportTool::defaultDownloadPage =
    QStringLiteral("https://www.kestsoft.example/downloads");

ReportTool::ReportTool(QString programFolder, SettingsStore &settings, Prompter &prompter,
                       ProgramLauncher &launcher)
    : m_programFolder(std::move(programFolder))
    , m_settings(settings)
    , m_prompter(prompter)
    , m_launcher(launcher)
{}

QString ReportTool::CommandLine::text() const
{
    QStringList words{quotedIfBlank(program)};
    for (const QString &argument : arguments)
        words.append(quotedIfBlank(argument));
    return words.join(QLatin1Char(' '));
}

ReportTool::Settings ReportTool::readSettings(const QString &programFolder)
{
    const QString file = ProgramFiles::settingsFile(programFolder);
    Settings settings;
    settings.ReportSoftware = ReadIniValue(reportsSection, QStringLiteral("ReportSoftware"), file);
    settings.KestReportsLocation =
        ReadIniValue(reportsSection, QStringLiteral("KestReportsLocation"), file);
    settings.ReportsName = ReadIniValue(reportsSection, QStringLiteral("ReportsName"), file);
    settings.DownloadPage = ReadIniValue(reportsSection, QStringLiteral("DownloadPage"), file);
    if (settings.DownloadPage.isEmpty())
        settings.DownloadPage = defaultDownloadPage;
    return settings;
}

bool ReportTool::usesViewer(const Settings &settings)
{
    return settings.ReportSoftware.compare(QStringLiteral("Viewer"), Qt::CaseInsensitive) == 0;
}

ReportTool::CommandLine ReportTool::reportsCommand(const Settings &settings,
                                                   const QString &programFolder)
{
    return {settings.KestReportsLocation,
            {programFolder + QLatin1Char('/') + settings.ReportsName, QStringLiteral("/V"),
             QStringLiteral("/A+")}};
}

ReportTool::CommandLine ReportTool::previewCommand(const Settings &settings,
                                                   const QString &programFolder, int chooserIndex)
{
    // No selection is index -1, so the tool is told database 0.
    const int number = std::max(chooserIndex, -1) + 1;
    return {settings.KestReportsLocation,
            {QStringLiteral("/A-"), programFolder + QLatin1Char('/') + settings.ReportsName,
             QStringLiteral("/V") + QString::number(number), QStringLiteral("/A+")}};
}

QString ReportTool::missingFileText(const Settings &settings)
{
    return QStringLiteral("Please Install The Latest version of KestReports or KestViewer From ") +
           settings.DownloadPage + QLatin1Char(' ');
}

ReportTool::Outcome ReportTool::Reports_Click()
{
    const Settings settings = readSettings(m_programFolder);
    return start(reportsCommand(settings, m_programFolder), QStringLiteral("Reports"));
}

ReportTool::Outcome ReportTool::PrintPreview_Click(int chooserIndex, bool fromToolbar)
{
    const Settings settings = readSettings(m_programFolder);
    const CommandLine command = previewCommand(settings, m_programFolder, chooserIndex);
    if (usesViewer(settings))
        return Outcome::ShowPreview;
    if (!fromToolbar && !ReportToolUsers(m_settings).anySetUp()) {
        m_prompter.message(missingFileText(settings), Prompter::Buttons::Ok, Prompter::Icon::None,
                           QStringLiteral("Missing File"));
        return Outcome::MissingFile;
    }
    return start(command, QStringLiteral("Print Preview"));
}

ReportTool::Outcome ReportTool::start(const CommandLine &command, const QString &commandName)
{
    // Failing in silence would leave the user clicking a command that does
    // nothing; say which command could not start the tool, and why.
    QString error;
    if (command.program.trimmed().isEmpty())
        error = QStringLiteral("No report tool is set in Ledgerly.ini "
                               "(section Reports, KestReportsLocation).");
    else if (m_launcher.startDetached(command.program, command.arguments, &error))
        return Outcome::Started;
    m_prompter.message(commandName + QStringLiteral(" could not start the report tool:\n") +
                           command.text() +
                           (error.isEmpty() ? QString() : QLatin1Char('\n') + error),
                       Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    return Outcome::NotStarted;
}

} // namespace Ledgerly
