#include "MainController.h"

#include "ControllerMessages.h"
#include "Prompter.h"
#include "SettingsStore.h"
#include "catalogue/SchemaRules.h"
#include "database/DatabaseCreator.h"
#include "database/DatabaseLoader.h"
#include "database/DatabaseSaver.h"
#include "database/PdbError.h"
#include "grid/ColumnSetup.h"

namespace Ledgerly {

MainController::MainController(RecordServer &server, SettingsStore &settings, Prompter &prompter,
                               QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_settings(settings)
    , m_prompter(prompter)
{
    connect(&m_catalogue.SectionListDBNam, &CatalogueList::selected, this,
            [this] { SectionListDBNam_Click(); });
    connect(&m_catalogue.Sectionslist, &CatalogueList::selected, this,
            [this] { Sectionslist_Click(); });
    connect(&m_grid, &GridModel::cellEdited, this, [this] { m_state.DatabaseEdited = true; });
}

MainController::~MainController() = default;

int MainController::AskSaveChanges()
{
    // Nothing can be saved over a database whose load did not complete, so
    // there is nothing to ask about.
    if (!m_state.DatabaseEdited || !canSave())
        return Prompter::No;
    const int answer = m_prompter.message(ControllerMessages::saveChanges(),
                                          Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Yes)
        SaveDatabase();
    return answer;
}

void MainController::SectionListDBNam_Click()
{
    if (m_quitRequested || m_returningToOpenSection || !m_catalogue.isPaired())
        return;
    m_catalogue.Sectionslist.select(m_catalogue.SectionListDBNam.currentIndex());
}

void MainController::Sectionslist_Click()
{
    if (m_quitRequested || m_returningToOpenSection || !m_catalogue.isPaired())
        return;
    const QString section = m_catalogue.selectedSection();
    if (m_catalogue.Sectionslist.currentIndex() < 0)
        return;

    m_catalogue.Entrieslist.clear();
    m_catalogue.Value.clear();
    if (!m_state.CurrentPath.isEmpty()) {
        SaveDatabase();
        // The save failed and the table holds edits that are nowhere else:
        // loading another database now would throw them away.
        if (canSave() && m_state.DatabaseEdited) {
            returnToOpenSection();
            return;
        }
    }

    // A section name becomes a file name; one that could reach outside the
    // user's folder is refused before any path is formed.
    if (!isSafeSectionName(section)) {
        closeDatabase();
        m_prompter.message(ControllerMessages::unsafeSection(section), Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation);
        return;
    }
    m_catalogue.fillEntries();

    QString folder;
    try {
        folder = m_server.GetUserFolder(m_state.PalmUser);
    } catch (const PdbError &e) {
        closeDatabase();
        m_prompter.message(ControllerMessages::noUserFolder(m_state.PalmUser, e.message()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    m_state.CurrentPath = folder + QLatin1Char('/') + section + QStringLiteral(".pdb");
    m_openSection = section;
    LoadDatabase(m_state.CurrentPath);
    if (m_quitRequested)
        return;

    m_catalogue.selectEntry(m_catalogue.Entrieslist.currentIndex());
    HideColumns();
}

void MainController::LoadDatabase(const QString &path)
{
    if (m_quitRequested)
        return;
    m_loadCompleted = false;
    try {
        m_state.PalmUser = m_server.GetDefaultUser();
        m_state.CurrentPath = path;
        m_database = m_server.OpenDatabase(m_state.CurrentPath);
        Q_EMIT statusNumberChanged(QString::number(m_progress));
        DatabaseLoader::fillTable(m_grid, *m_database, m_catalogue);
    } catch (const PdbError &e) {
        handleLoadError(e);
        return;
    }
    m_state.DatabaseEdited = false;
    m_loadCompleted = true;
    Q_EMIT captionChanged(caption());
    UnHideColumns();
    HideColumns();
    Q_EMIT databaseLoaded();
}

void MainController::handleLoadError(const PdbError &error)
{
    switch (error.number()) {
    case ErrDamaged:
        // Shown once; the program then ends without loading or writing
        // anything else, so a damaged file stays exactly as it is.
        m_prompter.message(ControllerMessages::damaged(m_state.CurrentPath, m_state.AppName),
                           Prompter::Buttons::Ok, Prompter::Icon::None);
        m_quitRequested = true;
        Q_EMIT quitRequested();
        return;
    case ErrFileNotFound:
        m_grid.removeAllRows();
        if (m_creating)
            return; // the new file could not be written; that was reported already
        m_prompter.message(ControllerMessages::missing(m_state.CurrentPath), Prompter::Buttons::Ok,
                           Prompter::Icon::None);
        CreateDatabase(m_state.CurrentPath);
        return;
    default:
        m_prompter.message(
            ControllerMessages::loadFailed(m_state.CurrentPath, error.number(), error.message()),
            Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
}

void MainController::UnHideColumns()
{
    ColumnSetup::UnHideColumns(m_grid, m_database.get(), m_catalogue);
}

void MainController::HideColumns()
{
    ColumnSetup::HideColumns(m_grid, m_database.get(), m_catalogue);
}

bool MainController::canSave() const
{
    return !m_quitRequested && m_database && !m_state.CurrentPath.isEmpty() && m_loadCompleted;
}

bool MainController::SaveDatabase()
{
    if (!canSave())
        return false;
    if (!writeDatabase())
        return false;
    m_state.PalmUser =
        m_settings.value(m_state.AppName, QStringLiteral("HotSync"), QStringLiteral("User"));
    Q_EMIT statusTextChanged(QStringLiteral("Palm User Name : ") + m_state.PalmUser);
    return true;
}

bool MainController::writeDatabase()
{
    Q_EMIT statusTextChanged(QStringLiteral("SavingDatabase :"));
    Q_EMIT statusNumberChanged(QString::number(m_progress));
    DatabaseSaver saver(m_state.ProgramFolder + QStringLiteral("/BlankBmp.bmp"));
    saver.writeTable(m_grid, *m_database, [this](int value) { setProgress(value); });
    try {
        m_database->SaveAs(m_state.CurrentPath);
    } catch (const PdbError &e) {
        setProgress(0);
        m_prompter.message(
            ControllerMessages::saveFailed(m_state.CurrentPath, e.number(), e.message()),
            Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    setProgress(99);
    setProgress(0);
    m_state.DatabaseEdited = false;
    return true;
}

void MainController::setProgress(int value)
{
    if (value == m_progress)
        return;
    m_progress = value;
    Q_EMIT progressChanged(value);
}

void MainController::SaveDatabaseAs()
{
    if (!canSave())
        return;
    Prompter::FileRequest request;
    request.initialFolder = m_state.ProgramFolder;
    request.fileName = m_state.ProgramFolder + QStringLiteral("/*.PDB");
    request.defaultSuffix = QStringLiteral("pdb");
    request.filter = QStringLiteral("PDB - Palm Database files (*.pdb *.PDB)");
    request.save = true;
    request.confirmOverwrite = true;
    const QString chosen = m_prompter.fileName(request);
    if (chosen.isEmpty()) {
        m_state.DatabaseEdited = false;
        return;
    }
    const QString previous = m_state.CurrentPath;
    m_state.CurrentPath = chosen;
    if (!writeDatabase()) {
        // The copy was not made: the file that is open stays the open file.
        m_state.CurrentPath = previous;
        return;
    }
    Q_EMIT captionChanged(caption());
}

void MainController::Clear_Click()
{
    if (m_quitRequested || !m_database || m_state.CurrentPath.isEmpty())
        return;
    const int answer = m_prompter.message(ControllerMessages::clear(m_state.AppName),
                                          Prompter::Buttons::YesNo, Prompter::Icon::Exclamation);
    if (answer == Prompter::Yes)
        m_grid.removeAllRows();
}

void MainController::CreateDatabase(const QString &path)
{
    if (m_quitRequested || m_creating)
        return;
    m_creating = true;
    m_grid.removeAllRows();
    m_loadCompleted = false;
    try {
        m_state.CurrentPath = path;
        m_database =
            m_server.OpenDatabase(m_state.CurrentPath, RecordServer::OpenMode::CreateIfMissing);
        Q_EMIT statusNumberChanged(QString::number(m_progress));
        DatabaseCreator::buildTable(m_grid, *m_database, m_catalogue);
    } catch (const PdbError &e) {
        if (e.number() == ErrDamaged) {
            m_creating = false;
            handleLoadError(e);
            return;
        }
        if (e.number() == ErrFileNotFound) {
            if (m_database)
                DatabaseLoader::fieldPass(*m_database, m_catalogue, false);
            UnHideColumns();
            HideColumns();
            m_creating = false;
            return;
        }
        // Anything else still goes on to the save and the reload.
    }
    m_state.DatabaseEdited = false;
    m_loadCompleted = m_database != nullptr;
    Q_EMIT captionChanged(caption());
    SaveDatabase();
    LoadDatabase(m_state.CurrentPath);
    UnHideColumns();
    HideColumns();
    m_creating = false;
}

void MainController::returnToOpenSection()
{
    // Both lists go back to the open database's entry (the window's chooser
    // follows the notification); the clicks this makes must not start a load.
    const int index = m_catalogue.Sectionslist.items().indexOf(m_openSection);
    if (index >= 0) {
        m_returningToOpenSection = true;
        m_catalogue.SectionListDBNam.select(index);
        m_catalogue.Sectionslist.select(index);
        m_returningToOpenSection = false;
    }
    m_catalogue.fillEntries();
}

void MainController::closeDatabase()
{
    m_openSection.clear();
    m_grid.removeAllRows();
    m_grid.removeAllColumns();
    m_database.reset();
    m_loadCompleted = false;
    m_state.CurrentPath.clear();
    m_state.DatabaseEdited = false;
}

QString MainController::caption() const
{
    return m_state.AppName + QStringLiteral(" : ") + m_state.CurrentPath;
}

} // namespace Ledgerly
