#pragma once

#include "MainState.h"
#include "catalogue/Catalogue.h"
#include "database/RecordServer.h"
#include "grid/GridModel.h"

#include <QObject>

#include <memory>

namespace Ledgerly {

class PdbError;
class Prompter;
class SettingsStore;

// The main window's state and procedures, without any widget: the window
// wires its controls to this object, and tests drive it directly.
class MainController : public QObject
{
    Q_OBJECT
public:
    MainController(RecordServer &server, SettingsStore &settings, Prompter &prompter,
                   QObject *parent = nullptr);
    ~MainController() override;

    MainState &state() { return m_state; }
    const MainState &state() const { return m_state; }
    Catalogue &catalogue() { return m_catalogue; }
    GridModel &grid() { return m_grid; }
    RecordServer &server() { return m_server; }
    SettingsStore &settings() { return m_settings; }
    Prompter &prompter() { return m_prompter; }
    PdbDatabase *CurrentDatabase() { return m_database.get(); }
    // True only when the open database was loaded into the table completely;
    // nothing is ever saved over a file whose load did not complete.
    bool loadCompleted() const { return m_loadCompleted; }
    // True once a damaged database asked for the end of the program; from then
    // on no procedure loads or writes anything.
    bool isQuitRequested() const { return m_quitRequested; }
    // The window title: AppName + " : " + CurrentPath.
    QString caption() const;

    int AskSaveChanges();
    void SectionListDBNam_Click();
    void Sectionslist_Click();
    void LoadDatabase(const QString &path);
    void UnHideColumns();
    void HideColumns();
    // True when the table was written to CurrentPath.
    bool SaveDatabase();
    void SaveDatabaseAs();
    void Clear_Click();
    void CreateDatabase(const QString &path);

Q_SIGNALS:
    void statusTextChanged(const QString &text);   // status bar panel 3
    void statusNumberChanged(const QString &text); // status bar panel 4
    void progressChanged(int value);               // 0..100
    void captionChanged(const QString &caption);   // AppName + " : " + CurrentPath
    void databaseLoaded();
    void quitRequested(); // the program must end (a damaged database)

private:
    bool canSave() const;
    bool writeDatabase();
    void setProgress(int value);
    void handleLoadError(const PdbError &error);
    void closeDatabase();
    // After a failed save kept a switch from going ahead: the catalogue
    // selects the open database's section again.
    void returnToOpenSection();

    RecordServer &m_server;
    SettingsStore &m_settings;
    Prompter &m_prompter;
    MainState m_state;
    Catalogue m_catalogue;
    GridModel m_grid;
    std::unique_ptr<PdbDatabase> m_database;
    bool m_loadCompleted = false;
    bool m_quitRequested = false;
    bool m_creating = false; // a missing file is created once, never in a loop
    bool m_returningToOpenSection = false;
    QString m_openSection; // the section whose database the table holds
    int m_progress = 0;
};

} // namespace Ledgerly
