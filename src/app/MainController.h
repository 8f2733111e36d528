#pragma once

#include "MainState.h"
#include "catalogue/Catalogue.h"
#include "database/DatabaseLock.h"
#include "document/Document.h"
#include "exchange/CsvOutcome.h"
#include "grid/SortKey.h"

#include <QObject>

#include <memory>

namespace Ledgerly {

class Grouping;
class PalmUserChoice;
class PdbError;
class PdbDatabase;
class ProgramLauncher;
class Prompter;
class RecordServer;
class RecordViewProxy;
class RegistryBackend;
class SettingsStore;

// The main window's state and procedures, without any widget. It is the one
// owner of that state: the window shows what it says and calls it for every
// command, the command line drives it the same way, and tests drive it
// directly.
class MainController : public QObject
{
    Q_OBJECT
public:
    // What the controller works with: the record component, the per-user
    // settings, the prompt interface and the platform's registry value and
    // program starter (for the report tools and the install command).
    struct Services
    {
        RecordServer &server;
        SettingsStore &settings;
        Prompter &prompter;
        RegistryBackend &registry;
        ProgramLauncher &launcher;
    };

    explicit MainController(const Services &services, QObject *parent = nullptr);
    ~MainController() override;

    PalmUserChoice &users() { return *m_users; }
    const PalmUserChoice &users() const { return *m_users; }
    const QString &PalmUser() const;
    // The open database's file (empty when none is open) and whether the
    // table holds edits the file does not; both are the document's.
    const QString &CurrentPath() const { return m_document.CurrentPath(); }
    bool DatabaseEdited() const { return m_document.DatabaseEdited(); }

    MainState &state() { return m_state; }
    const MainState &state() const { return m_state; }
    const Catalogue &catalogue() const { return m_catalogue; }
    Document &document() { return m_document; }
    GridModel &grid() { return m_document.model(); }
    RecordServer &server() { return m_server; }
    SettingsStore &settings() { return m_settings; }
    Prompter &prompter() { return m_prompter; }
    ProgramLauncher &launcher() { return m_launcher; }
    PdbDatabase *CurrentDatabase() const { return m_document.database(); }
    bool loadCompleted() const { return m_document.loadCompleted(); }
    // True once a damaged database asked for the end of the program; from then
    // on no procedure loads or writes anything.
    bool isQuitRequested() const { return m_quitRequested; }
    // The window title: AppName + " : " + CurrentPath.
    QString caption() const;
    // The catalogue entry the database chooser shows; -1 for none.
    int currentSection() const { return m_currentSection; }
    // The one path rule for database files: the Palm user's HotSync folder
    // + "/" + section + ".pdb". Throws PdbError for a user without a folder.
    QString databasePath(const QString &user, const QString &section) const;
    // databasePath() of the current section; empty when there is none.
    QString databasePathFor(const QString &user) const;

    // Start-up: settings, catalogue, the Palm user, then the first database.
    // False when the program must end (a damaged database).
    bool startUp(const QString &programFolder);
    // The change-user command: the dialog, then the first database for the
    // chosen user. False when the dialog was cancelled.
    bool changeUser();
    void BuildCatalogue();
    // The schema file was changed while the program runs (the schema editor
    // saved it): the catalogue is read again; the open database stays open
    // when its section is still there, with that section's captions and
    // roles (read afresh from the file when its fields changed and nothing
    // is unsaved); otherwise it is saved when edited and the first database
    // opens.
    void schemaFileChanged();
    // What choosing a database does: the open one is saved first, then the
    // chosen section's file is loaded (or created). True when it is loaded.
    bool openSection(int index);

    // Makes the section current without touching any file: a following
    // CreateDatabase builds its database from the section's keys.
    void chooseSection(int index);

    int AskSaveChanges();
    void LoadDatabase(const QString &path);
    void UnHideColumns();
    void HideColumns();
    // True when the table was written to CurrentPath.
    bool SaveDatabase();
    void SaveDatabaseAs();
    void Clear_Click();
    void CreateDatabase(const QString &path);
    // Queues the open file for the Palm user's handheld; false after saying why.
    bool Install_Click();
    // Queues the file for a user; the command line's install comes here.
    bool install(const QString &user, const QString &path);
    void ExportCSV_Click();
    void ImportCSV_Click();
    void ExportCsv(const QString &chosenPath);
    void ImportCsv(const QString &chosenPath);
    // The same without the message: what the command line prints.
    CsvOutcome exportCsv(const QString &chosenPath);
    // A successful import marks the table edited.
    CsvOutcome importCsv(const QString &chosenPath);
    // "Group Fields": groups the open table by the fields the schema marks
    // "Group" (totalling those marked "Calc"), or shows it plain again. A
    // database loaded while grouped is grouped by its own fields.
    void setGrouped(bool grouped);
    bool isGrouped() const { return m_grouped; }
    // What a view or a page shows: the table sorted and filtered as the
    // person chose, grouped while grouped.
    QAbstractItemModel *viewModel();
    // The sort and filter between the table and grouping.
    RecordViewProxy &recordView() { return *m_recordView; }
    // Sorts the view; the keys are remembered for the open database.
    void setSortKeys(const SortKeys &keys);
    enum class SortOutcome { Sorted, NoKeys, InOrderAlready, NothingOpen };
    // Sort Records: the records stored in the view's order (every record,
    // shown or not), as one undoable step that marks the table edited.
    SortOutcome SortRecords();
    // Whether the filter row is shown; remembered for the open database.
    // Hiding it clears the filter, so no record stays hidden by a box that
    // cannot be seen.
    bool filterRowShown() const { return m_filterRowShown; }
    void setFilterRowShown(bool shown);
    // While on (the default), each database's sort keys and filter row come
    // back when it is opened again. The command line, which is told its
    // views, turns this off.
    void setRemembersViews(bool on) { m_remembersViews = on; }

    // The help document's full path.
    QString helpFilePath() const;
    // While on (the default), the open database is locked against other
    // programs, and one another program holds is not opened. A command line
    // run that locks only what it changes turns this off.
    void setLocksDatabases(bool on) { m_locksDatabases = on; }

    // Moves the status bar's progress bar (0..100; 0 when done) for work
    // done outside the controller, such as making the pages of a preview.
    void setProgress(int value);

Q_SIGNALS:
    void statusTextChanged(const QString &text);   // status bar panel 3
    void statusNumberChanged(const QString &text); // status bar panel 4
    void progressChanged(int value);               // 0..100
    void captionChanged(const QString &caption);   // AppName + " : " + CurrentPath
    void catalogueChanged();                       // the chooser lists it again
    void sectionChanged(int index);                // the chooser shows this entry
    void databaseLoaded();
    void quitRequested(); // the program must end (a damaged database)
    void filterRowShownChanged(bool shown);

private:
    bool canSave() const;
    bool writeDatabase(const QString &path);
    void handleLoadError(const PdbError &error, const QString &path);
    void closeDatabase();
    // False after telling that another program holds the file at path.
    bool lockDatabase(const QString &path);
    bool holdsLockFor(const QString &path) const;
    void selectSection(int index);
    void showMessage(const QString &text);
    void reportSchemaProblem();
    // The CSV file dialog, in the folder used last with the database's name.
    QString chooseCsvFile(bool save);
    void applyGrouping();
    void restoreView();
    QString openSectionName() const;

    RecordServer &m_server;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    RegistryBackend &m_registry;
    ProgramLauncher &m_launcher;
    MainState m_state;
    std::unique_ptr<PalmUserChoice> m_users;
    Catalogue m_catalogue;
    Document m_document;
    // Above the document's table, and grouping above it: declared in that
    // order so each goes before what it shows.
    std::unique_ptr<RecordViewProxy> m_recordView;
    std::unique_ptr<Grouping> m_grouping;
    bool m_grouped = false;
    bool m_filterRowShown = false;
    bool m_remembersViews = true;
    bool m_quitRequested = false;
    bool m_creating = false; // a missing file is created once, never in a loop
    int m_currentSection = -1;
    int m_openSection = -1; // the section whose database the table holds
    int m_progress = 0;
    bool m_locksDatabases = true;
    DatabaseLock m_lock; // of the open database
};

} // namespace Ledgerly
