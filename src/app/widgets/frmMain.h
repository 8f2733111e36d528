#pragma once

#include "MainMenuBar.h"
#include "MainToolbar.h"
#include "ReportCommands.h"
#include "SchemaEditor.h"
#include "app/CommandTable.h"
#include "frmSplash1.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QMenu;
class QMenuBar;
class QToolBar;

namespace Ledgerly {

class DocumentOpener;
class GridEditing;
class GridView;
class MainController;
class ProgramLauncher;
class Prompter;
class SkinBand;
class StatusPanels;
class TableTools;

// The main window: menu bar, toolbar, database chooser, record table and
// status bar around the controller that holds the state and does the work.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    struct Services
    {
        MainController &controller;
        Prompter &prompter;
        ProgramLauncher &launcher;
        DocumentOpener &opener;
        QString programFolder;
    };
    // Shows a dialog modally; tests replace it so start-up never blocks.
    using ModalShower = std::function<void(QDialog &)>;

    explicit frmMain(const Services &services, QWidget *parent = nullptr);
    ~frmMain() override;

    void setModalShower(ModalShower shower) { m_modalShower = std::move(shower); }

    // Start-up, run once after the window is created.
    void Form_Load();
    // The re-initialisation after a change of Palm user.
    void ChangeUser();
    void BuildMenu();
    // The two dispatchers: a menu item's key (case ignored) and a toolbar
    // button's number (from 1).
    void SmartMenuXP1_MenuItemClick(const QString &key);
    void Toolbar2_ButtonClick(int number);
    void runCommand(Command command);
    void Install_Click();
    void showAboutBox(bool modal);
    // Places every part of the window for its current width.
    void Form_Resize();

    MainController &controller() const { return m_controller; }
    QMenuBar *menuBar() const { return m_menuBar; }
    QToolBar *toolBar() const { return m_toolbar; }
    GridView *grid() const { return m_grid; }
    GridEditing &editing() const { return *m_editing; }
    TableTools &tableTools() const { return *m_tools; }
    StatusPanels &statusPanels() const { return *m_status; }
    frmSplash1 *aboutBox() const { return m_about; }
    // The schema editor, while it is open.
    SchemaEditor *schemaEditor() const { return m_schemaEditor; }
    double logicalDpi() const { return m_dpi; }
    // The client height the fixed window height leaves, in pixels.
    int imposedHeight() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildFrame1();
    void connectController();
    void Form_Unload();
    void quitNow();
    void changeUserCommand();
    void helpCommand();
    void editSchemaCommand();
    void schemaSaved(const QString &path);
    ReportCommands::Context reportContext();
    void chkGroup_Click();
    void SectionListDBNam_Activated(int index);
    void refillChooser();
    void syncChooser(int index);
    void applyIcon();
    // The place and size the window had when it last closed, else centred and
    // no larger than the screen.
    void placeOnScreen();
    void applyColumn0Width();
    // The view takes the table's columns again; the record-number column
    // keeps its fixed width.
    void applyGridColumns();
    // A database was loaded: its columns' widths, then the table's focus.
    void showDatabase();
    int px(double twips) const;

    MainController &m_controller;
    Prompter &m_prompter;
    DocumentOpener &m_opener;
    ProgramLauncher &m_launcher;
    QString m_programFolder;
    ModalShower m_modalShower;

    MainMenuBar *m_menuBar;
    SkinBand *m_skin;
    MainToolbar *m_toolbar;
    QFrame *m_frame1;
    QComboBox *m_chooser;
    QCheckBox *m_chkGroup;
    QCheckBox *m_check1;
    GridView *m_grid;
    GridEditing *m_editing;
    TableTools *m_tools;
    StatusPanels *m_status;
    QPointer<frmSplash1> m_about;
    QPointer<SchemaEditor> m_schemaEditor;

    double m_dpi;
    bool m_inLayout = false;
};

} // namespace Ledgerly
