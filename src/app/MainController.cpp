#include "MainController.h"

#include "ControllerMessages.h"
#include "PalmUserChoice.h"
#include "SettingsStore.h"
#include "catalogue/SchemaRules.h"
#include "common/Prompter.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"
#include "grid/Grouping.h"
#include "grid/RecordViewProxy.h"
#include "grid/TableEditor.h"

namespace Ledgerly {

MainController::MainController(const Services &services, QObject *parent)
    : QObject(parent)
    , m_server(services.server)
    , m_settings(services.settings)
    , m_prompter(services.prompter)
    , m_registry(services.registry)
    , m_launcher(services.launcher)
    , m_users(
          std::make_unique<PalmUserChoice>(m_state, m_server, m_settings, m_prompter, m_registry))
    , m_document(m_server)
    , m_recordView(std::make_unique<RecordViewProxy>())
{
    m_recordView->setSourceModel(&grid());
    connect(m_users.get(), &PalmUserChoice::statusTextChanged, this,
            &MainController::statusTextChanged);
}

MainController::~MainController() = default;

const QString &MainController::PalmUser() const
{
    return m_users->PalmUser();
}

int MainController::AskSaveChanges()
{
    // Nothing can be saved over a database whose load did not complete, so
    // there is nothing to ask about.
    if (!DatabaseEdited() || !canSave())
        return Prompter::No;
    const int answer = m_prompter.message(ControllerMessages::saveChanges(),
                                          Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Yes)
        SaveDatabase();
    return answer;
}

void MainController::selectSection(int index)
{
    m_currentSection = index;
    Q_EMIT sectionChanged(index);
}

bool MainController::openSection(int index)
{
    if (m_quitRequested || index < 0 || index >= m_catalogue.count())
        return false;
    selectSection(index);
    // Only an edited table is saved: merely looking at a database must not
    // rewrite it (a save fills its empty dates, times and pictures).
    if (DatabaseEdited()) {
        SaveDatabase();
        // The save failed and the table holds edits that are nowhere else:
        // loading another database now would throw them away.
        if (canSave() && DatabaseEdited()) {
            selectSection(m_openSection);
            return false;
        }
    }

    // A section name becomes a file name; one that could reach outside the
    // user's folder is refused before any path is formed.
    const QString section = m_catalogue.section(index);
    if (!isSafeSectionName(section)) {
        closeDatabase();
        m_prompter.message(ControllerMessages::unsafeSection(section), Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation);
        return false;
    }
    QString path;
    try {
        path = databasePath(PalmUser(), section);
    } catch (const PdbError &e) {
        closeDatabase();
        m_prompter.message(ControllerMessages::noUserFolder(PalmUser(), e.message()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    // A file another program holds is not opened, and the database that is
    // open stays open, the chooser back on it.
    if (m_locksDatabases && !holdsLockFor(path)) {
        DatabaseLock lock = DatabaseLock::acquire(path);
        if (!lock.isLocked()) {
            selectSection(m_openSection);
            m_prompter.message(lock.error(), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
            return false;
        }
        m_lock = std::move(lock);
    }
    m_document.setSchema(m_catalogue.schemaSection(index));
    m_openSection = index;
    LoadDatabase(path);
    return !m_quitRequested && loadCompleted();
}

void MainController::chooseSection(int index)
{
    selectSection(index);
    m_document.setSchema(m_catalogue.schemaSection(index));
    m_openSection = index;
}

QString MainController::databasePath(const QString &user, const QString &section) const
{
    const QString folder = m_server.GetUserFolder(user);
    if (folder.isEmpty())
        throw PdbError(ErrNoSuchUser, QStringLiteral("\"%1\" has no HotSync folder").arg(user));
    return folder + QLatin1Char('/') + section + QStringLiteral(".pdb");
}

QString MainController::databasePathFor(const QString &user) const
{
    const QString section = m_catalogue.section(m_currentSection);
    if (section.isEmpty())
        return {};
    try {
        return databasePath(user, section);
    } catch (const PdbError &) {
        // Without a user folder there is no path; opening the file reports it.
        return {};
    }
}

void MainController::LoadDatabase(const QString &path)
{
    if (m_quitRequested || !lockDatabase(path))
        return;
    m_users->followDefaultUser();
    try {
        m_document.open(path);
        Q_EMIT statusNumberChanged(QString::number(m_progress));
        m_document.fillTable();
    } catch (const PdbError &e) {
        handleLoadError(e, path);
        return;
    }
    Q_EMIT captionChanged(caption());
    UnHideColumns();
    HideColumns();
    restoreView();
    if (m_grouped)
        applyGrouping();
    Q_EMIT databaseLoaded();
}

void MainController::handleLoadError(const PdbError &error, const QString &path)
{
    switch (error.number()) {
    case ErrDamaged:
        // Shown once; the program then ends without loading or writing
        // anything else, so a damaged file stays exactly as it is.
        m_prompter.message(ControllerMessages::damaged(path, m_state.AppName),
                           Prompter::Buttons::Ok, Prompter::Icon::None);
        m_quitRequested = true;
        Q_EMIT quitRequested();
        return;
    case ErrFileNotFound:
        m_document.clearRecords();
        if (m_creating)
            return; // the new file could not be written; that was reported already
        m_prompter.message(ControllerMessages::missing(path), Prompter::Buttons::Ok,
                           Prompter::Icon::None);
        CreateDatabase(path);
        return;
    default:
        // The table must not stay tied to another file it could be saved
        // over; the database that was open was saved already if edited.
        closeDatabase();
        m_prompter.message(ControllerMessages::loadFailed(path, error.number(), error.message()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
}

void MainController::UnHideColumns()
{
    m_document.unHideColumns();
}

void MainController::HideColumns()
{
    m_document.hideColumns();
}

bool MainController::canSave() const
{
    return !m_quitRequested && CurrentDatabase() && !CurrentPath().isEmpty() && loadCompleted();
}

bool MainController::SaveDatabase()
{
    if (!canSave())
        return false;
    if (!writeDatabase(CurrentPath()))
        return false;
    m_users->takeStoredUser();
    return true;
}

bool MainController::writeDatabase(const QString &path)
{
    Q_EMIT statusTextChanged(QStringLiteral("SavingDatabase :"));
    Q_EMIT statusNumberChanged(QString::number(m_progress));
    try {
        m_document.save(path, m_state.ProgramFolder + QStringLiteral("/BlankBmp.bmp"),
                        [this](int value) { setProgress(value); });
    } catch (const PdbError &e) {
        setProgress(0);
        // The status bar says what it said before the save began.
        Q_EMIT statusTextChanged(m_users->statusText(PalmUser()));
        m_prompter.message(ControllerMessages::saveFailed(path, e.number(), e.message()),
                           Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    setProgress(99);
    setProgress(0);
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
    // Cancelling changes nothing: the edits are still unsaved, and closing
    // must still offer to save them.
    if (chosen.isEmpty())
        return;
    // The copy becomes the open file, so it is locked like one first.
    DatabaseLock copyLock;
    if (m_locksDatabases && !holdsLockFor(chosen)) {
        copyLock = DatabaseLock::acquire(chosen);
        if (!copyLock.isLocked()) {
            m_prompter.message(copyLock.error(), Prompter::Buttons::Ok,
                               Prompter::Icon::Exclamation);
            return;
        }
    }
    // A copy that was not made leaves the file that is open the open file.
    if (!writeDatabase(chosen))
        return;
    if (copyLock.isLocked())
        m_lock = std::move(copyLock);
    Q_EMIT captionChanged(caption());
}

void MainController::Clear_Click()
{
    if (m_quitRequested || !CurrentDatabase() || CurrentPath().isEmpty())
        return;
    // Enter answers No: the question guards the whole table.
    const int answer =
        m_prompter.message(ControllerMessages::clear(m_state.AppName),
                           Prompter::Buttons::YesNoDefaultNo, Prompter::Icon::Exclamation);
    if (answer == Prompter::Yes)
        m_document.editor().replaceRows({}, QStringLiteral("Clear Database"));
}

void MainController::CreateDatabase(const QString &path)
{
    if (m_quitRequested || m_creating || !lockDatabase(path))
        return;
    m_creating = true;
    m_document.clearRecords();
    try {
        m_document.open(path, true);
        Q_EMIT statusNumberChanged(QString::number(m_progress));
        m_document.buildNewTable();
    } catch (const PdbError &e) {
        m_creating = false;
        // Nothing was built, so nothing may be saved: a save now would write
        // whatever database object was open before under the new name.
        if (e.number() == ErrDamaged) {
            handleLoadError(e, path);
        } else {
            closeDatabase();
            m_prompter.message(ControllerMessages::loadFailed(path, e.number(), e.message()),
                               Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        }
        return;
    }
    Q_EMIT captionChanged(caption());
    SaveDatabase();
    LoadDatabase(path);
    m_creating = false;
}

void MainController::closeDatabase()
{
    // With nothing open, the chooser shows nothing either.
    m_openSection = -1;
    selectSection(-1);
    m_lock.release();
    m_document.close();
    Q_EMIT captionChanged(caption());
}

QString MainController::caption() const
{
    return m_state.AppName + QStringLiteral(" : ") + CurrentPath();
}

void MainController::showMessage(const QString &text)
{
    m_prompter.message(text, Prompter::Buttons::Ok, Prompter::Icon::Information);
}

} // namespace Ledgerly
