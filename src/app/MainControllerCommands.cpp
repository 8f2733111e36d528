// The controller's start-up, change of user and the commands that work on
// the open database as a whole (CSV, install, help).
#include "MainController.h"

#include "ControllerMessages.h"
#include "DesktopSettings.h"
#include "HandheldInstall.h"
#include "PalmUserChoice.h"
#include "ReportToolUsers.h"
#include "ViewMemory.h"
#include "catalogue/IniFile.h"
#include "common/Prompter.h"
#include "exchange/CsvCommands.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"
#include "grid/RecordViewProxy.h"
#include "grid/TableEditor.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace Ledgerly {

void MainController::BuildCatalogue()
{
    m_catalogue = Catalogue::build(m_state.schemaFile());
    m_currentSection = -1;
    Q_EMIT catalogueChanged();
}

bool MainController::startUp(const QString &programFolder)
{
    m_state.ProgramFolder = programFolder;
    DesktopSettings::LoadDesktopSettings(m_state);
    BuildCatalogue();
    m_currentSection = m_catalogue.isEmpty() ? -1 : 0;
    Q_EMIT captionChanged(caption());
    reportSchemaProblem();
    // The user is chosen before any file is opened, so the first database
    // opened (and locked) is the chosen user's own.
    m_users->ChoosePalmUserAtStart();
    openSection(0);
    return !m_quitRequested;
}

void MainController::reportSchemaProblem()
{
    const QString file = m_state.schemaFile();
    QString reason;
    if (!QFileInfo::exists(file))
        reason = QStringLiteral("There is no such file.");
    else
        reason = iniFileProblem(file);
    if (!reason.isEmpty())
        m_prompter.message(ControllerMessages::schemaUnreadable(file, reason),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    else if (const QString unlisted = m_catalogue.unlistedMessage(); !unlisted.isEmpty())
        m_prompter.message(unlisted, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

bool MainController::changeUser()
{
    const bool accepted = m_users->changeUserDialog();
    if (accepted) {
        openSection(0);
        if (!m_quitRequested)
            m_users->ReselectPalmUser();
    }
    // Accepted or not, the report designer follows the user.
    ReportToolUsers(m_settings).tellDesigner(PalmUser());
    return accepted;
}

bool MainController::Install_Click()
{
    return install(PalmUser(), CurrentPath());
}

bool MainController::install(const QString &user, const QString &path)
{
    return HandheldInstall(m_server, m_launcher, m_prompter).install(user, path);
}

void MainController::setGrouped(bool grouped)
{
    m_grouped = grouped;
    if (grouped) {
        applyGrouping();
    } else if (m_grouping) {
        m_grouping->clear();
    }
}

void MainController::applyGrouping()
{
    if (!m_grouping)
        m_grouping = std::make_unique<Grouping>(*m_recordView);
    m_grouping->GroupColumns();
}

QAbstractItemModel *MainController::viewModel()
{
    if (m_grouped && m_grouping)
        return m_grouping->model();
    return m_recordView.get();
}

QString MainController::openSectionName() const
{
    return m_document.schema().name();
}

void MainController::restoreView()
{
    if (!m_remembersViews)
        return;
    const ViewMemory memory(m_settings, m_state.AppName);
    m_recordView->setSortKeys(memory.sortKeys(openSectionName(), grid()));
    const bool shown = memory.filterRowShown(openSectionName());
    if (!shown)
        m_recordView->clearFilter();
    m_filterRowShown = shown;
    Q_EMIT filterRowShownChanged(shown);
}

void MainController::setSortKeys(const SortKeys &keys)
{
    m_recordView->setSortKeys(keys);
    if (m_remembersViews)
        ViewMemory(m_settings, m_state.AppName)
            .setSortKeys(openSectionName(), grid(), m_recordView->sortKeys());
}

void MainController::setFilterRowShown(bool shown)
{
    if (!shown)
        m_recordView->clearFilter();
    if (shown == m_filterRowShown)
        return;
    m_filterRowShown = shown;
    if (m_remembersViews)
        ViewMemory(m_settings, m_state.AppName).setFilterRowShown(openSectionName(), shown);
    Q_EMIT filterRowShownChanged(shown);
}

MainController::SortOutcome MainController::SortRecords()
{
    if (m_quitRequested || !CurrentDatabase() || !loadCompleted())
        return SortOutcome::NothingOpen;
    if (m_recordView->sortKeys().isEmpty())
        return SortOutcome::NoKeys;
    return m_document.editor().reorderRecords(m_recordView->sortedRecords())
               ? SortOutcome::Sorted
               : SortOutcome::InOrderAlready;
}

QString MainController::helpFilePath() const
{
    return DesktopSettings::programFile(m_state.ProgramFolder, m_state.HelpFile);
}

void MainController::ExportCSV_Click()
{
    if (!CurrentDatabase())
        return;
    // The export writes the file as stored; edits only in the table would be
    // missing from it without a word.
    if (DatabaseEdited() && canSave()) {
        const int answer =
            m_prompter.message(ControllerMessages::exportUnsaved(), Prompter::Buttons::YesNoCancel,
                               Prompter::Icon::Question);
        if (answer == Prompter::Cancel || (answer == Prompter::Yes && !SaveDatabase()))
            return;
    }
    const QString path = chooseCsvFile(true);
    if (!path.isEmpty())
        ExportCsv(path);
}

void MainController::ImportCSV_Click()
{
    if (!CurrentDatabase())
        return;
    const QString path = chooseCsvFile(false);
    if (!path.isEmpty())
        ImportCsv(path);
}

QString MainController::chooseCsvFile(bool save)
{
    ViewMemory memory(m_settings, m_state.AppName);
    QString folder = memory.csvFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = QFileInfo(CurrentPath()).completeBaseName() + QStringLiteral(".csv");
    const QString path = m_prompter.fileName(CsvCommands::fileRequest(folder, name, save));
    if (!path.isEmpty())
        memory.setCsvFolder(QFileInfo(path).absolutePath());
    return path;
}

CsvOutcome MainController::exportCsv(const QString &chosenPath)
{
    const CsvOutcome outcome = exportCsvFile(m_document, m_state.AppName, chosenPath,
                                             [this](int value) { setProgress(value); });
    setProgress(0);
    return outcome;
}

CsvOutcome MainController::importCsv(const QString &chosenPath)
{
    const CsvOutcome outcome = importCsvFile(m_document, m_prompter, m_state.AppName, chosenPath,
                                             [this](int value) { setProgress(value); });
    setProgress(0);
    return outcome;
}

void MainController::ExportCsv(const QString &chosenPath)
{
    showMessage(exportCsv(chosenPath).message);
}

void MainController::ImportCsv(const QString &chosenPath)
{
    const CsvOutcome outcome = importCsv(chosenPath);
    showMessage(outcome.message + emptyDatesAndTimesNote(outcome.emptyDatesAndTimes, false));
}

} // namespace Ledgerly
