// The controller's start-up, change of user and the commands that work on
// the open database as a whole (CSV, install, help).
#include "MainController.h"

#include "DesktopSettings.h"
#include "PalmUserChoice.h"
#include "common/Prompter.h"
#include "exchange/CsvCommands.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "grid/Grouping.h"
#include "grid/GroupingProxyModel.h"

namespace Ledgerly {

void MainController::attachUserChoice(RegistryBackend &registry, ProgramLauncher &launcher)
{
    m_users = std::make_unique<PalmUserChoice>(m_state, m_server, m_settings, m_prompter, registry,
                                               launcher);
    connect(m_users.get(), &PalmUserChoice::statusTextChanged, this,
            &MainController::statusTextChanged);
}

void MainController::BuildCatalogue()
{
    m_catalogue = Catalogue::build(m_state.schemaFile());
    m_currentSection = -1;
    Q_EMIT catalogueChanged();
}

bool MainController::startUp(const QString &programFolder)
{
    Q_ASSERT(m_users);
    m_state.ProgramFolder = programFolder;
    const QString firstUser = m_users->defaultUser();
    DesktopSettings::LoadDesktopSettings(m_state);
    BuildCatalogue();
    m_currentSection = m_catalogue.isEmpty() ? -1 : 0;
    m_state.CurrentPath = databasePathFor(firstUser);
    Q_EMIT captionChanged(caption());
    m_users->ChoosePalmUserAtStart();

    openSection(0);
    if (m_quitRequested)
        return false;

    // The table must always hold the file that a save would write: when the
    // user chosen at start has a different file from the one just loaded,
    // that file is loaded instead of merely taking its name.
    const QString chosenPath = databasePathFor(m_users->storedUser());
    if (chosenPath != m_state.CurrentPath && m_currentSection >= 0 && CurrentDatabase()) {
        LoadDatabase(chosenPath);
        if (m_quitRequested)
            return false;
    } else {
        m_state.CurrentPath = chosenPath;
    }
    HideColumns();
    return true;
}

bool MainController::changeUser()
{
    Q_ASSERT(m_users);
    if (!m_users->changeUserDialog())
        return false;
    openSection(0);
    if (m_quitRequested)
        return true;
    m_users->ReselectPalmUser();
    Q_EMIT statusTextChanged(QStringLiteral("Palm User Name : ") + m_state.PalmUser);
    HideColumns();
    return true;
}

bool MainController::Install_Click()
{
    Q_ASSERT(m_users);
    return m_users->Install_Click();
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
    GridModel &table = grid();
    if (!m_grouping)
        m_grouping = std::make_unique<Grouping>(table);
    QStringList roles;
    QStringList captions;
    for (int c = 0; c < table.columnCount(); ++c) {
        const GridColumn &column = table.column(c);
        roles.append(c == 0 ? QString() : m_document.schema().role(column.key));
        captions.append(column.caption);
    }
    m_grouping->GroupColumns(roles, captions);
    HideColumns();
}

QAbstractItemModel *MainController::viewModel()
{
    if (m_grouped && m_grouping)
        return m_grouping->model();
    return &grid();
}

QString MainController::helpFilePath() const
{
    return DesktopSettings::programFile(m_state.ProgramFolder, m_state.HelpFile);
}

void MainController::ExportCSV_Click()
{
    const QString path = m_prompter.fileName(CsvCommands::fileRequest(m_state.ProgramFolder, true));
    if (!path.isEmpty())
        ExportCsv(path);
}

void MainController::ImportCSV_Click()
{
    const QString path =
        m_prompter.fileName(CsvCommands::fileRequest(m_state.ProgramFolder, false));
    if (!path.isEmpty())
        ImportCsv(path);
}

CsvOutcome MainController::exportCsv(const QString &chosenPath)
{
    const CsvOutcome outcome = exportCsvFile(
        m_server, m_document.schema(), countRecordRows(m_document.model()), m_state.CurrentPath,
        m_state.AppName, chosenPath, [this](int value) { setProgress(value); });
    setProgress(0);
    return outcome;
}

CsvOutcome MainController::importCsv(const QString &chosenPath)
{
    const CsvOutcome outcome =
        importCsvFile(m_document, m_prompter, m_state.CurrentPath, m_state.AppName, chosenPath,
                      [this](int value) { setProgress(value); });
    setProgress(0);
    // The imported rows exist only in the table until saved: closing or
    // switching must know there is something to keep.
    if (outcome.ok)
        m_state.DatabaseEdited = true;
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
