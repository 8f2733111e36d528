#pragma once

#include "app/IniEditorDocument.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QDialog;
class QLabel;
class QListWidget;
class QTabWidget;
class QTableView;
class QTreeView;

namespace Ledgerly {

class IniEntriesModel;
class IniEntryDialog;
class Prompter;
class RecordServer;
class SchemaDatabasesModel;
class SchemaFieldsModel;

// The schema editor: the databases of QuayDB.ini with their fields, any INI
// file's sections and entries, and the list of what the program would read
// otherwise than it looks. Changes are undoable and reach the file only on
// Save; every question goes through the prompter.
class SchemaEditor : public QMainWindow
{
    Q_OBJECT
public:
    struct Services
    {
        Prompter &prompter;
        RecordServer &server;
        // The Palm user whose HotSync folder an adopted database belongs in.
        std::function<QString()> palmUser;
    };
    // Shows a dialog modally; true when it was accepted. Tests fill it in.
    using DialogShower = std::function<bool(QDialog &)>;

    explicit SchemaEditor(const Services &services, QWidget *parent = nullptr);
    ~SchemaEditor() override;

    void setDialogShower(DialogShower shower) { m_showDialog = std::move(shower); }
    IniEditorDocument &document() { return m_document; }

    // Opens the file after offering to save unsaved changes; says why when it
    // cannot. False when the file that was open stays open.
    bool openFile(const QString &path);
    // The commands of the menus.
    void openCommand();
    bool saveCommand();
    bool saveAsCommand();
    void newFromDatabaseFile();
    void addDatabase();
    void renameDatabase();
    void deleteDatabase();
    void addField();
    void editField();
    void deleteField();
    void moveField(int step);
    void putKeysInOrder();
    void addSection();
    void addEntry();
    void editEntry();
    void deleteEntry();
    // Unsaved changes: asks Yes/No/Cancel; true when nothing is lost by
    // going on (saved, declined, or nothing to save).
    bool confirmDiscard();

    QAction *action(const QString &name) const;
    QTabWidget *tabs() const { return m_tabs; }
    QTableView *databasesView() const { return m_databasesView; }
    QTableView *fieldsView() const { return m_fieldsView; }
    QTreeView *entriesView() const { return m_entriesView; }
    QListWidget *problemsView() const { return m_problemsView; }
    int currentSection() const;
    int currentField() const;
    void selectSection(int section);
    void selectField(int field);
    // Shows what stands on that line: its database and field, its entry.
    void goToLine(int line);

Q_SIGNALS:
    // The file was written; the main window reads the schema again.
    void fileSaved(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildViews();
    QAction *addAction(QMenu *menu, const QString &name, const QString &text,
                       const QKeySequence &shortcut, void (SchemaEditor::*slot)());
    void textChanged(EditorFocus focus);
    void refreshProblems();
    void updateActions();
    void updateTitle();
    // Tells why an edit was refused; true when there was nothing to tell.
    bool report(const QString &refusal);
    // Said once when a file is opened: where its changes cannot be saved.
    void warnIfUnwritable();
    bool saveFailed(const SafeFile::Result &result);
    QString applyFromDialog(IniEntryDialog &dialog, const QString &description,
                            const IniEditorDocument::Edit &edit, EditorFocus focus);
    int currentEntrySection() const;
    int currentEntryKey() const;

    Prompter &m_prompter;
    RecordServer &m_server;
    std::function<QString()> m_palmUser;
    DialogShower m_showDialog;
    IniEditorDocument m_document;
    SchemaDatabasesModel *m_databases;
    SchemaFieldsModel *m_fields;
    IniEntriesModel *m_entries;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_databasesPage = nullptr;
    QTableView *m_databasesView = nullptr;
    QTableView *m_fieldsView = nullptr;
    QTreeView *m_entriesView = nullptr;
    QListWidget *m_problemsView = nullptr;
    QLabel *m_problemsLabel = nullptr;
    QLabel *m_fileLabel = nullptr;
};

} // namespace Ledgerly
